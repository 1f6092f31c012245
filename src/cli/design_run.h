// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>

#include "cli/run_report.h"
#include "workspace/workspace.h"

namespace pelkor::cli {

// Opens a design with its hierarchy and checks it; kExitOk when a simulation is ready to run,
// otherwise the status to stop with, the reason written to `err`.
int OpenAndCheck(Workspace& workspace, const std::filesystem::path& design, std::ostream& err);

// Called right after the check with step 0, then after every step with the steps run so far
// and whether that step moved anything.
using StepObserver = std::function<void(std::int64_t step, bool active)>;

struct CheckedRun {
  bool stepFailed = false;  // a step failed; the log says why
  bool sinkFailed = false;  // a sink failed its expectation

  // kExitDesignFailed when a step failed, kExitSinkFailed when a sink failed, else kExitOk.
  int Status() const;
};

// Runs a checked design without animation until it is idle or has run `maxSteps` steps, and
// reports every sink with the step of its first mismatch to `report`, and with `explain` every
// object that holds or waits for tokens and cannot move.
CheckedRun RunChecked(Workspace& workspace, std::int64_t maxSteps, ReportReceiver& report,
                      const StepObserver& observe = {}, bool explain = false);

}  // namespace pelkor::cli
