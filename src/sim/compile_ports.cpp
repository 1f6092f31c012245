// Module instances: their boundary connections to the working copies of their children.
#include "sim/compile.h"
#include "sim/compile_steps.h"

namespace pelkor {

namespace {

// The register that the source named `name` of the child feeds.
std::optional<int> InputPortRegister(OutputLog& log, const Module* child, const std::string& name) {
  if (child != nullptr) {
    for (const auto& [id, source] : child->sources) {
      if (source.name != name)
        continue;
      const std::vector<const Arc*> arcs = ArcsOutOf(*child, id);
      if (arcs.empty())
        continue;
      if (child->shiftRegisters.contains(arcs.front()->to))
        return arcs.front()->to;
      log.WriteText("GetModuleInputShiftPointerにないぞう");
      log.WriteText("GetModuleInputShiftPointerにえらーがありそう");
      return std::nullopt;
    }
  }
  log.Write("getmoduleinputshiftpointer end アークname=%s", name);
  log.WriteText("GetModuleInputShiftPointerにえらーがありそう");
  return std::nullopt;
}

// The register that feeds the sink named `name` of the child.
std::optional<int> OutputPortRegister(const Module* child, const std::string& name) {
  if (child == nullptr)
    return std::nullopt;
  for (const auto& [id, sink] : child->sinks) {
    if (sink.name != name)
      continue;
    const std::vector<const Arc*> arcs = ArcsInto(*child, id);
    if (arcs.empty())
      continue;
    if (child->shiftRegisters.contains(arcs.front()->from))
      return arcs.front()->from;
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

bool PlanInstancePorts(OutputLog& log, const Module& parent, int instanceId, const Module* child,
                       PortPlan& plan) {
  PortPlan planned;
  for (const Arc* arc : ArcsInto(parent, instanceId)) {
    if (!parent.shiftRegisters.contains(arc->from)) {
      log.WriteText("シフトがないone");
      return false;
    }
    if (arc->name.empty()) {
      log.WriteText("アークの名前が入力されていませんone");
      return false;
    }
    const std::optional<int> inner = InputPortRegister(log, child, arc->name);
    if (!inner)
      return false;
    planned.inputs.push_back({arc->from, *inner});
  }

  for (const Arc* arc : ArcsOutOf(parent, instanceId)) {
    if (!parent.shiftRegisters.contains(arc->to)) {
      log.WriteText("シフトがないtwo");
      return false;
    }
    if (arc->name.empty()) {
      log.WriteText("アークの名前が入力されていません");
      log.WriteText("アークの名前が入力されていませんtwo");
      return false;
    }
    const std::optional<int> inner = OutputPortRegister(child, arc->name);
    if (!inner) {
      log.WriteText("GetModuleOutputShiftPointerにえらーがありそう");
      return false;
    }
    planned.outputs.push_back({arc->to, *inner});
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

bool WireInstancePorts(OutputLog& log, RuntimeInstance& parent, ModuleInstanceRuntime& instance,
                       RuntimeInstance& child) {
  PortPlan plan;
  const Module* childNet = child.runtime ? child.net.get() : nullptr;
  if (!PlanInstancePorts(log, *parent.net, instance.id, childNet, plan))
    return false;
  instance.inputs.clear();
  for (const auto& [outer, inner] : plan.inputs) {
    instance.inputs.push_back(
        {parent.runtime->FindRegister(outer), child.runtime->FindRegister(inner)});
  }
  instance.outputs.clear();
  for (const auto& [outer, inner] : plan.outputs) {
    instance.outputs.push_back(
        {parent.runtime->FindRegister(outer), child.runtime->FindRegister(inner)});
  }
  return true;
}

bool CompileModuleInstance(OutputLog& log, RuntimeInstance& node, int id,
                           const ModuleInstance& instance, ModuleInstanceRuntime& compiled) {
  compiled.id = id;
  compiled.record = &instance;
  compiled.absent = instance.absent;
  compiled.created = instance.created;
  compiled.owner = &node;
  if (instance.hasNewArc) {
    DynamicInputPlan plan;
    if (!PlanDynamicInputs(log, *node.net, id, plan)) {
      log.WriteText("モジュールコンパイルエラー");
      return false;
    }
    NetRuntime& runtime = *node.runtime;
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
  return WireInstancePorts(log, node, compiled, *child->second);
}

}  // namespace pelkor
