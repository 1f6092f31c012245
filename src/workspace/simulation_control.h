#pragma once

#include <cstdint>
#include <functional>

#include "sim/token.h"

namespace pelkor {

// The commands whose enabled and checked state the workspace decides, by their menu ids.
enum class CommandId : int {
  kCheck = 32787,
  kStep = 32788,
  kStop = 32789,
  kRun = 32795,
  kRunWithoutAnimation = 32796,
  kPause = 32797,
  kShiftRegisterTool = 32777,
  kStateMachineTool = 32771,
  kCounterTool = 32776,
  kSourceTool = 32778,
  kSinkTool = 32775,
  kArcTool = 32773,
  kModuleTool = 175,
  kEraserTool = 32784,
  kMoveTool = 32793,
  kNew = 57600,
  kOpen = 57601,
  kSave = 57603,
  kSaveAs = 57604,
  kSaveAll = 189,
  kSettings = 182,
  kCut = 57635,
  kCopy = 57634,
  kPaste = 57637,
  kUndo = 57643,
};

struct CommandState {
  bool enabled = false;
  bool checked = false;

  bool operator==(const CommandState&) const = default;
};

// The view's mode: an editing tool's number (its object kind for the six placing tools) or a
// run mode.
inline constexpr int kNoMode = 0;
inline constexpr int kArcToolMode = 6;
inline constexpr int kEraserToolMode = 7;
inline constexpr int kMoveToolMode = 8;
inline constexpr int kAnimatedRunMode = 9;
inline constexpr int kRunWithoutAnimationMode = 10;

// How a run without animation ended.
enum class RunEnd {
  kIdle,          // two steps in a row moved nothing
  kStepLimit,     // the step limit was reached first
  kCancelled,     // the progress callback asked to stop; the simulation is paused
  kFailed,        // a step failed; its message is written and the simulation is paused
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
