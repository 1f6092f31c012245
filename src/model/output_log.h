// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include <fmt/printf.h>

#include "base/log_format.h"

namespace pelkor {

// Where log lines go: the desktop log window, standard output, or a list in tests.
class LogSink {
 public:
  virtual ~LogSink() = default;
  virtual void WriteLine(std::string_view line) = 0;
};

// The output log: every message of the check, the simulation and the file commands becomes
// one line. Without a sink attached, lines are dropped.
class OutputLog {
 public:
  // The longest line kept, in bytes; longer text is cut at a character boundary.
  static constexpr std::size_t kMaxLineBytes = 1023;

  void Attach(LogSink* sink) { sink_ = sink; }
  LogSink* sink() const { return sink_; }

  // Writes text as it stands.
  void WriteText(std::string_view text);

  template <typename... Args>
  void Write(LogFormat format, const Args&... args) {
    if (sink_ == nullptr)
      return;
    std::string text;
    try {
      text = fmt::sprintf(format.text(), args...);
    } catch (const fmt::format_error&) {
      // A format that does not fit its arguments gives an empty line, as a failed printf does.
    }
    WriteText(text);
  }

 private:
  LogSink* sink_ = nullptr;
};

// Cuts UTF-8 text to at most maxBytes without splitting a character.
std::string_view CutAtCharacterBoundary(std::string_view text, std::size_t maxBytes);

}  // namespace pelkor
