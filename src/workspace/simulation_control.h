// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

#include "edit/command.h"
#include "sim/token.h"

namespace pelkor {

// How a run without animation ended.
enum class RunEnd {
  kIdle,          // two steps in a row moved nothing
  kStepLimit,     // the step limit was reached first
  kCancelled,     // the progress callback asked to stop; the simulation is paused
  kFailed,        // a step failed; its message is written and the simulation is paused
  kMismatch,      // a sink took a value it does not expect, and the run was to stop there
  kBreakpoint,    // an enabled breakpoint was met; the simulation is paused
  kNotSimulating  // there was no checked simulation to run
};

struct RunOutcome {
  RunEnd end = RunEnd::kNotSimulating;
  std::int64_t steps = 0;
};

// Called after every step of a run without animation with the number of steps run so far and
// the step's activity; returning false stops the run as Pause does.
using RunProgress = std::function<bool(std::int64_t steps, StepActivity activity)>;

// Milliseconds of a monotonic clock, for the elapsed-time report.
using MillisecondClock = std::function<std::int64_t()>;

}  // namespace pelkor
