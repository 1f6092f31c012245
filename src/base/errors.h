// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace pelkor {

// A failure whose text is shown to the user exactly as it stands (a message box in a dialog,
// one output-log line in a command).
class MessageError : public std::runtime_error {
 public:
  explicit MessageError(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace pelkor
