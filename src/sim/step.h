// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "model/module_library.h"
#include "sim/token.h"

namespace pelkor {

// What a check found.
struct CheckOutcome {
  bool prepareFailed = false;              // preparing the nodes raised an error
  RuntimeInstance* failingNode = nullptr;  // the first node that failed to compile
};

// What a step tells the windows while it creates and deletes module instances. Each may be
// left empty.
struct StepHooks {
  // A node is about to be deleted by a "delete" token. The library has already moved the view
  // off it when the view showed it or a node below it.
  std::function<void(RuntimeInstance&)> instanceDeleting;
  // Instances were created or deleted: a module tree window rebuilds.
  std::function<void()> treeChanged;
  // Creating an instance failed: its messages are written and the instance stays absent.
  std::function<void()> creationFailed;
};

// Ends the runtime in the tree: the library goes back to the root's module, the deleted flags
// are cleared and the instances created while running leave the tree. Each engine forgets its
// own state beside it.
void ResetRuntime(ModuleLibrary& library);

}  // namespace pelkor
