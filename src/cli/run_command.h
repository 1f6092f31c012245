// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace pelkor::cli {

enum class ReportFormat { kText, kJson };

struct RunOptions {
  std::filesystem::path design;
  std::int64_t maxSteps = 1'000'000;
  std::optional<std::filesystem::path> trace;  // JSON Lines, one line per step
  std::optional<std::filesystem::path> vcd;    // and a GTKWave save file beside it
  ReportFormat report = ReportFormat::kText;
  bool quiet = false;               // no output-log lines
  bool stopAtMismatch = false;      // pause after the first step in which a sink departs
  std::vector<std::string> breaks;  // --break, each PATH:ID[:WHAT]
  bool explain = false;             // report every object that holds or waits for tokens, and why
};

// Opens a design, checks it, runs it without animation and reports every sink.
int RunCommand(const RunOptions& options, std::ostream& out, std::ostream& err);

// Opens and checks a design; `quiet` leaves out the output-log lines.
int CheckCommand(const std::filesystem::path& design, bool quiet, std::ostream& out,
                 std::ostream& err);

}  // namespace pelkor::cli
