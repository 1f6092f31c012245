// SPDX-License-Identifier: GPL-3.0-or-later
// Module instances: their boundary connections to the ports of their children.
#include <algorithm>
#include <map>

#include "sim/compile.h"
#include "sim/compile_steps.h"
#include "sim/reference_simulation.h"

namespace pelkor {

namespace {

std::vector<PortArc> PortArcs(const Module& module, const std::vector<const Arc*>& arcs,
                              bool fromRegister) {
  std::vector<PortArc> ports;
  ports.reserve(arcs.size());
  for (const Arc* arc : arcs) {
    const int end = fromRegister ? arc->from : arc->to;
    ports.push_back(
        {arc->name, module.shiftRegisters.contains(end) ? std::optional<int>(end) : std::nullopt});
  }
  return ports;
}

// The first record of each name that has an arc on its register side, in ascending ID.
template <typename Records, typename ArcsOf, typename End>
std::vector<ChildPorts::Port> PortsOf(const Module& module, const Records& records, ArcsOf arcsOf,
                                      End end) {
  std::map<std::string, std::optional<int>> byName;
  for (const auto& [id, record] : records) {
    if (record.name.empty() || byName.contains(record.name))
      continue;
    const std::vector<const Arc*> arcs = arcsOf(module, id);
    if (arcs.empty())
      continue;
    const int shiftRegister = end(*arcs.front());
    byName.emplace(record.name, module.shiftRegisters.contains(shiftRegister)
                                    ? std::optional<int>(shiftRegister)
                                    : std::nullopt);
  }
  std::vector<ChildPorts::Port> ports;
  ports.reserve(byName.size());
  for (auto& [name, shiftRegister] : byName)
    ports.push_back({name, shiftRegister});
  return ports;
}

const ChildPorts::Port* FindPort(const std::vector<ChildPorts::Port>& ports,
                                 std::string_view name) {
  const auto it = std::lower_bound(
      ports.begin(), ports.end(), name,
      [](const ChildPorts::Port& port, std::string_view key) { return port.name < key; });
  return it != ports.end() && it->name == name ? &*it : nullptr;
}

}  // namespace

std::vector<PortArc> PortArcsInto(const Module& module, int instanceId) {
  return PortArcs(module, ArcsInto(module, instanceId), true);
}

std::vector<PortArc> PortArcsOutOf(const Module& module, int instanceId) {
  return PortArcs(module, ArcsOutOf(module, instanceId), false);
}

ChildPorts::ChildPorts(const Module& module)
    : inputs(PortsOf(module, module.sources, ArcsOutOf, [](const Arc& arc) { return arc.to; })),
      outputs(PortsOf(module, module.sinks, ArcsInto, [](const Arc& arc) { return arc.from; })) {}

const ChildPorts::Port* ChildPorts::Input(std::string_view name) const {
  return FindPort(inputs, name);
}

const ChildPorts::Port* ChildPorts::Output(std::string_view name) const {
  return FindPort(outputs, name);
}

bool PlanInstancePorts(OutputLog& log, std::span<const PortArc> into,
                       std::span<const PortArc> outOf, const ChildPorts* child, PortPlan& plan) {
  PortPlan planned;
  for (const PortArc& arc : into) {
    if (!arc.shiftRegister) {
      log.WriteText("シフトがないone");
      return false;
    }
    if (arc.name.empty()) {
      log.WriteText("アークの名前が入力されていませんone");
      return false;
    }
    const ChildPorts::Port* port = child != nullptr ? child->Input(arc.name) : nullptr;
    if (port == nullptr) {
      log.Write("getmoduleinputshiftpointer end アークname=%s", std::string(arc.name));
      log.WriteText("GetModuleInputShiftPointerにえらーがありそう");
      return false;
    }
    if (!port->shiftRegister) {
      log.WriteText("GetModuleInputShiftPointerにないぞう");
      log.WriteText("GetModuleInputShiftPointerにえらーがありそう");
      return false;
    }
    planned.inputs.push_back({*arc.shiftRegister, *port->shiftRegister});
  }

  for (const PortArc& arc : outOf) {
    if (!arc.shiftRegister) {
      log.WriteText("シフトがないtwo");
      return false;
    }
    if (arc.name.empty()) {
      log.WriteText("アークの名前が入力されていません");
      log.WriteText("アークの名前が入力されていませんtwo");
      return false;
    }
    const ChildPorts::Port* port = child != nullptr ? child->Output(arc.name) : nullptr;
    if (port == nullptr || !port->shiftRegister) {
      log.WriteText("GetModuleOutputShiftPointerにえらーがありそう");
      return false;
    }
    planned.outputs.push_back({*arc.shiftRegister, *port->shiftRegister});
  }
  plan = std::move(planned);
  return true;
}

bool PlanDynamicInputs(OutputLog& log, const Module& net, int instanceId, DynamicInputPlan& plan) {
  for (const Arc* arc : ArcsInto(net, instanceId)) {
    if (!net.shiftRegisters.contains(arc->from))
      return false;
    if (arc->name.empty()) {
      log.WriteText("アークの名前が入力されていません");
      return false;
    }
    if (arc->name == "new")
      plan.newArc = arc->from;
    if (arc->name == "delete")
      plan.deleteArc = arc->from;
    plan.outer.push_back(arc->from);
  }
  return true;
}

bool ReferenceSimulation::WirePorts(RuntimeInstance& parent, ModuleInstanceRuntime& instance,
                                    RuntimeInstance& child) {
  const Module& parentNet = *Net(parent);
  NetRuntime& parentRuntime = *Runtime(parent);
  const Module* childNet = Net(child);
  const std::optional<ChildPorts> childPorts =
      childNet != nullptr ? std::optional<ChildPorts>(*childNet) : std::nullopt;
  PortPlan plan;
  if (!PlanInstancePorts(library_.log(), PortArcsInto(parentNet, instance.id),
                         PortArcsOutOf(parentNet, instance.id), childPorts ? &*childPorts : nullptr,
                         plan)) {
    return false;
  }
  // A child without a working copy has no ports, so its plan is empty.
  NetRuntime* childRuntime = Runtime(child);
  instance.inputs.clear();
  for (const auto& [outer, inner] : plan.inputs) {
    instance.inputs.push_back(
        {parentRuntime.FindRegister(outer), childRuntime->FindRegister(inner)});
  }
  instance.outputs.clear();
  for (const auto& [outer, inner] : plan.outputs) {
    instance.outputs.push_back(
        {parentRuntime.FindRegister(outer), childRuntime->FindRegister(inner)});
  }
  return true;
}

bool ReferenceSimulation::CompileInstance(RuntimeInstance& node, int id,
                                          const ModuleInstance& instance,
                                          ModuleInstanceRuntime& compiled) {
  compiled.id = id;
  compiled.record = &instance;
  compiled.absent = instance.absent;
  compiled.created = instance.created;
  if (instance.hasNewArc) {
    DynamicInputPlan plan;
    if (!PlanDynamicInputs(library_.log(), *Net(node), id, plan)) {
      library_.log().WriteText("モジュールコンパイルエラー");
      return false;
    }
    NetRuntime& runtime = *Runtime(node);
    for (const int outer : plan.outer)
      compiled.inputs.push_back({runtime.FindRegister(outer), nullptr});
    if (plan.newArc)
      compiled.newArcRegister = runtime.FindRegister(*plan.newArc);
    if (plan.deleteArc)
      compiled.deleteArcRegister = runtime.FindRegister(*plan.deleteArc);
    return true;
  }
  auto child = node.children.find(id);
  if (child == node.children.end())
    return true;
  return WirePorts(node, compiled, *child->second);
}

}  // namespace pelkor
