// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "cli/design_discovery.h"
#include "cli/run_report.h"

namespace pelkor::cli {

enum class DesignResult { kPassed, kFailed, kError, kSkipped };

// What testing one design gave.
struct DesignOutcome {
  FoundDesign design;
  DesignResult result = DesignResult::kSkipped;
  std::optional<RunReport> report;  // when it ran
  std::string log;                  // its output-log lines, one per line
  std::string errors;               // what went wrong, one message per line
  double seconds = 0;
};

// Runs a design as `run` does, unless its plan is to skip it; `quiet` keeps no log lines.
DesignOutcome TestDesign(const FoundDesign& design, std::int64_t maxSteps, bool quiet);

// Why a design is skipped: "expects nothing" or "a sub-module that expects nothing".
const char* SkipReason(DesignPlan plan);

}  // namespace pelkor::cli
