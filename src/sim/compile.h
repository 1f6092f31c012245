// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "expr/function_text.h"
#include "model/module_library.h"
#include "sim/net_runtime.h"
#include "sim/step.h"

namespace pelkor {

// The reference check, which the tests hold the workspace's engine (sim/simulation.h) to: a
// working copy and run-time records for every node of the tree, compiled from the root, and the
// instance schedule. Writes its messages to the library's log ("era-" when making the working
// copies fails, after which it still compiles what was made).
CheckOutcome ReferenceCheck(ModuleLibrary& library);

// Gives every node without a net, from `node` down, a working copy of its module, except a
// child whose module has a source named "new": a "new" token makes that one while running.
// Throws MessageError for a node that names no registered module.
void PrepareNets(ModuleLibrary& library, RuntimeInstance& node);
// The same walk, with an engine's own way of giving one node its working copy.
template <typename MakeCopy>
void PrepareNetsWith(ModuleLibrary& library, RuntimeInstance& node, MakeCopy makeCopy) {
  if (!node.net) {
    const Module& module = library.ModuleByName(node.name);
    const bool madeByNewToken = module.HasNewSource() && node.parent != nullptr;
    if (!madeByNewToken)
      makeCopy(node, module);
  }
  for (auto& [id, child] : node.children)
    PrepareNetsWith(library, *child, makeCopy);
}
// Gives `node` a working copy of `module` and the run-time records that go with it; writes
// "エラー来たー" and leaves the node without a net when memory runs out.
void MakeWorkingCopy(OutputLog& log, RuntimeInstance& node, const Module& module);

// Compiles the working copies of `node` and its subtree, appending every compiled node to
// `compiled` in post-order. Returns the first node that failed, nullptr when all passed; a node
// without a net passes and is not listed.
RuntimeInstance* CompileInstance(ModuleLibrary& library, RuntimeInstance& node,
                                 std::vector<RuntimeInstance*>& compiled);

// Lists the nodes in the library's schedule, each once: a node listed before keeps its place.
void AppendToSchedule(ModuleLibrary& library, std::span<RuntimeInstance* const> nodes);

// The boundary of a module instance as register IDs: (outer, inner) for each arc into the
// instance, in arc order, and (outer, inner) for each arc out of it.
struct PortPlan {
  std::vector<std::pair<int, int>> inputs;
  std::vector<std::pair<int, int>> outputs;
};
// Plans the wiring of instance `instanceId` of `parent` to the registers fed by the sources and
// feeding the sinks of the child's working copy (nullptr: the child has none), writing why it
// fails; `plan` changes only when the whole wiring succeeds.
bool PlanInstancePorts(OutputLog& log, const Module& parent, int instanceId, const Module* child,
                       PortPlan& plan);
// The same wiring applied to the reference records of `parent` and `child`.
bool WireInstancePorts(OutputLog& log, RuntimeInstance& parent, ModuleInstanceRuntime& instance,
                       RuntimeInstance& child);

// The arcs into an instance that only "new" tokens create, as register IDs: every arc's outer
// register, and those of the arcs named "new" and "delete". Fails on an arc from anything but a
// register and, writing why, on an unnamed arc.
struct DynamicInputPlan {
  std::vector<int> outer;
  std::optional<int> newArc;
  std::optional<int> deleteArc;
};
bool PlanDynamicInputs(OutputLog& log, const Module& net, int instanceId, DynamicInputPlan& plan);

// Binds the register at one end of `arc` to the variable of `text` that the arc names (an
// unnamed arc: the only input, or output 1); an arc that names no variable binds nothing.
void BindInput(TextBinding& binding, const FunctionText& text, const Arc& arc,
               ShiftRegisterRuntime* shiftRegister);
void BindOutput(TextBinding& binding, const FunctionText& text, const Arc& arc,
                ShiftRegisterRuntime* shiftRegister);

}  // namespace pelkor
