// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "expr/function_text.h"
#include "model/module_library.h"
#include "sim/net_runtime.h"
#include "sim/run_nodes.h"

namespace pelkor {

// Prepares every unprepared node, from `node` down, for its module, except a child whose module
// has a source named "new": a "new" token prepares that one while running. Throws MessageError
// for a node that names no registered module.
void PrepareNets(ModuleLibrary& library, RunNodes& nodes, RuntimeInstance& node);

// The boundary of a module instance as register IDs: (outer, inner) for each arc into the
// instance, in arc order, and (outer, inner) for each arc out of it.
struct PortPlan {
  std::vector<std::pair<int, int>> inputs;
  std::vector<std::pair<int, int>> outputs;
};

// An arc at a module instance as its wiring reads it: the arc's name, and the register at the
// arc's other end when that end is a register.
struct PortArc {
  std::string_view name;
  std::optional<int> shiftRegister;
};
// The arcs into (out of) instance `instanceId` of `module`, in index order; the names are views
// into the module.
std::vector<PortArc> PortArcsInto(const Module& module, int instanceId);
std::vector<PortArc> PortArcsOutOf(const Module& module, int instanceId);

// A module's named ports as an instance of it is wired: for each name, the register that the
// first source of that name with an arc feeds (an input), or that feeds the first sink of that
// name with an arc (an output); none where that end of the arc is not a register.
struct ChildPorts {
  struct Port {
    std::string name;
    std::optional<int> shiftRegister;
  };

  ChildPorts() = default;
  explicit ChildPorts(const Module& module);
  // The port of that name, or nullptr.
  const Port* Input(std::string_view name) const;
  const Port* Output(std::string_view name) const;

  std::vector<Port> inputs;   // by name
  std::vector<Port> outputs;  // by name
};

// Plans the wiring of a module instance, given the arcs into and out of it, to the ports of its
// child (nullptr: the child has none), writing why it fails; `plan` changes only when the whole
// wiring succeeds.
bool PlanInstancePorts(OutputLog& log, std::span<const PortArc> into,
                       std::span<const PortArc> outOf, const ChildPorts* child, PortPlan& plan);

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
