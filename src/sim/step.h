// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "model/module_library.h"
#include "sim/token.h"

namespace pelkor {

// What a check found.
struct CheckOutcome {
  bool prepareFailed = false;              // making the working copies raised an error
  RuntimeInstance* failingNode = nullptr;  // the first node that failed to compile
};

// What a step tells the windows while it creates and deletes module instances. Each may be
// left empty.
struct StepHooks {
  // A node is about to lose its working copy to a "delete" token. The library has already
  // moved the view off it when the view showed it or a node below it.
  std::function<void(RuntimeInstance&)> instanceDeleting;
  // Instances were created or deleted: a module tree window rebuilds.
  std::function<void()> treeChanged;
  // Creating an instance failed: its messages are written and the instance stays absent.
  std::function<void()> creationFailed;
};

// The reference step, which the tests hold the workspace's engine (sim/simulation.h) to: one
// simulation step over the library's instance schedule, in its eight phases, visiting every
// primitive of every live node through the records that ReferenceCheck built. Sets `activity`
// to 1 when anything moved or is ready to move; the caller clears it before. Throws
// SimulationCondition (100, 101, 102) and MessageError ("モジュールがありません"); the tokens
// moved before stay moved.
void ReferenceStep(ModuleLibrary& library, StepActivity& activity, const StepHooks& hooks = {});

// Ends the runtime: the library goes back to the root's design module, every working copy is
// destroyed, the deleted flags are cleared, the instances created while running leave the
// tree, and the schedule is emptied.
void ResetRuntime(ModuleLibrary& library);

}  // namespace pelkor
