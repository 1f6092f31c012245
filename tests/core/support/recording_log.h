// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/output_log.h"

namespace pelkor::testing {

// A log sink that keeps every line, for asserting on what a command wrote.
class RecordingLog : public LogSink {
 public:
  void WriteLine(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

}  // namespace pelkor::testing
