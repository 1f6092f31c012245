#pragma once

// The parts of a step that have files of their own.

#include <vector>

#include "model/module_library.h"
#include "sim/net_runtime.h"
#include "sim/step.h"

namespace pelkor {

// Input numbers stop at 99 (the compiler refuses higher ones), so a firing reads at most that
// many values, on the stack.
inline constexpr std::size_t kMaxInputValues = 99;

// Phase 3 for one machine found ready, and its readiness test of phase 7.
void FireMachine(StateMachineRuntime& machine);
bool IsMachineReady(StateMachineRuntime& machine);

// Phase 2: tokens across module boundaries, "new" and "delete".
void MoveAcrossBoundaries(ModuleLibrary& library, StepActivity& activity, const StepHooks& hooks);

// Builds, checks and wires the child that a "new" token creates for `instance` of `node`,
// adding its nodes to the schedule and to `realised`. On failure the messages are written and
// the instance is left as it was before the "new": absent, not created, without contents.
void RealiseCreation(ModuleLibrary& library, RuntimeInstance& node, ModuleInstanceRuntime& instance,
                     std::vector<RuntimeInstance*>& realised, const StepHooks& hooks);
// Marks `child` and its subtree deleted and destroys their working copies; throws the
// conditions 100, 101 and 102.
void DeleteInstance(ModuleLibrary& library, RuntimeInstance& child);
// An instance whose contents go keeps its connections without their inner side.
void DisconnectInner(ModuleInstanceRuntime& instance);
// Destroys the working copies of `node` and every node below it.
void DestroyNets(RuntimeInstance& node);

}  // namespace pelkor
