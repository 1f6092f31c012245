// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/design_test.h"

#include <chrono>
#include <exception>
#include <sstream>

#include "cli/cli_session.h"
#include "cli/design_run.h"
#include "cli/exit_status.h"

namespace pelkor::cli {

namespace {

DesignResult ResultOf(int status) {
  switch (status) {
    case kExitOk:
      return DesignResult::kPassed;
    case kExitSinkFailed:
      return DesignResult::kFailed;
    default:
      return DesignResult::kError;
  }
}

}  // namespace

DesignOutcome TestDesign(const FoundDesign& design, std::int64_t maxSteps, bool quiet) {
  DesignOutcome outcome;
  outcome.design = design;
  if (design.plan != DesignPlan::kRun)
    return outcome;
  const auto start = std::chrono::steady_clock::now();
  std::ostringstream log;
  std::ostringstream errors;
  try {
    CliSession session(log, quiet);
    int status = OpenAndCheck(session.workspace, design.path, errors);
    if (status == kExitOk) {
      ReportCollector collector;
      const CheckedRun run = RunChecked(session.workspace, maxSteps, collector);
      if (run.stepFailed)
        errors << "pelkor-cli: " << design.path.string()
               << ": the simulation stopped on a failure\n";
      status = run.Status();
      outcome.report = std::move(collector.report);
    }
    outcome.result = ResultOf(status);
  } catch (const std::exception& e) {
    // One design's fault must not take the other workers down.
    errors << "pelkor-cli: " << design.path.string() << ": " << e.what() << '\n';
    outcome.result = DesignResult::kError;
  }
  outcome.log = log.str();
  outcome.errors = errors.str();
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return outcome;
}

const char* SkipReason(DesignPlan plan) {
  return plan == DesignPlan::kSubModule ? "a sub-module that expects nothing" : "expects nothing";
}

}  // namespace pelkor::cli
