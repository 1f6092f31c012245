#pragma once

#include <span>
#include <vector>

#include "expr/function_text.h"
#include "model/module_library.h"
#include "sim/net_runtime.h"

namespace pelkor {

struct CheckOutcome {
  bool prepareFailed = false;              // making the working copies raised an error
  RuntimeInstance* failingNode = nullptr;  // the first node that failed to compile
};

// The check proper: working copies for the whole tree, compiled from the root, and the
// instance schedule. Writes its messages to the library's log ("era-" when making the working
// copies fails, after which it still compiles what was made).
CheckOutcome CheckHierarchy(ModuleLibrary& library);

// Gives every node without a net, from `node` down, a working copy of its module, except a
// child whose module has a source named "new": a "new" token makes that one while running.
// Throws MessageError for a node that names no registered module.
void PrepareNets(ModuleLibrary& library, RuntimeInstance& node);
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

// Wires the boundary of module instance `instance` of `parent` to the registers fed by the
// sources and feeding the sinks of `child`'s working copy, writing why it fails. The instance's
// connections change only when the whole wiring succeeds.
bool WireInstancePorts(OutputLog& log, RuntimeInstance& parent, ModuleInstanceRuntime& instance,
                       RuntimeInstance& child);

// Binds the register at one end of `arc` to the variable of `text` that the arc names (an
// unnamed arc: the only input, or output 1); an arc that names no variable binds nothing.
void BindInput(TextBinding& binding, const FunctionText& text, const Arc& arc,
               ShiftRegisterRuntime* shiftRegister);
void BindOutput(TextBinding& binding, const FunctionText& text, const Arc& arc,
                ShiftRegisterRuntime* shiftRegister);

}  // namespace pelkor
