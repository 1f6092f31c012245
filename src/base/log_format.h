// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace pelkor {

// A printf-style message format of the system's own. It must be a literal, so text from a
// file or a user can only ever reach the log as an argument, never as a format.
class LogFormat {
 public:
  template <std::size_t N>
  consteval LogFormat(const char (&text)[N]) : text_(text) {}  // NOLINT: implicit on purpose
  const char* text() const { return text_; }

 private:
  const char* text_;
};

}  // namespace pelkor
