// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The parts of a step that have files of their own.

#include <string>
#include <vector>

#include "model/module_library.h"
#include "sim/net_runtime.h"
#include "sim/run_nodes.h"
#include "sim/step.h"

namespace pelkor {

// Input numbers stop at 99 (the compiler refuses higher ones), so a firing reads at most that
// many values, on the stack.
inline constexpr std::size_t kMaxInputValues = 99;

// Phase 3 for one machine found ready, and its readiness test of phase 7.
void FireMachine(StateMachineRuntime& machine);
bool IsMachineReady(StateMachineRuntime& machine);

// What creating an instance needs from an engine beyond its nodes (RunNodes); the tree changes
// the same way for every engine. One builder serves the creation of one instance of one node.
class InstanceBuilder {
 public:
  virtual ~InstanceBuilder() = default;
  // Compiles the prepared nodes of `node` and its subtree, appending each compiled node to
  // `compiled` in post-order; returns the first node that failed, nullptr when all passed.
  virtual RuntimeInstance* Compile(RuntimeInstance& node,
                                   std::vector<RuntimeInstance*>& compiled) = 0;
  // Wires the instance's ports to the registers of `child`, writing why it fails.
  virtual bool WirePorts(RuntimeInstance& child) = 0;
  // The instance is left as before its "new": absent, not created, without inner connections.
  virtual void Abandon() = 0;
};

// Prepares, checks and wires the child that a "new" token creates for instance `instanceId` of
// `node`, adding its compiled nodes to `realised`. On failure the messages are written, the
// child's nodes unprepared and the instance abandoned; returns whether the child was made.
bool RealiseCreation(ModuleLibrary& library, RunNodes& nodes, RuntimeInstance& node, int instanceId,
                     const std::string& moduleName, InstanceBuilder& builder,
                     std::vector<RuntimeInstance*>& realised, const StepHooks& hooks);
// Marks `child` and its subtree deleted and unprepares them; throws the conditions 100, 101 and
// 102.
void DeleteInstance(ModuleLibrary& library, RunNodes& nodes, RuntimeInstance& child);
// An instance whose contents go keeps its connections without their inner side.
void DisconnectInner(ModuleInstanceRuntime& instance);
// Unprepares `node` and every node below it.
void UnprepareSubtree(RunNodes& nodes, RuntimeInstance& node);

}  // namespace pelkor
