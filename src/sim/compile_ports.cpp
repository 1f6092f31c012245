// Module instances: their boundary connections to the working copies of their children.
#include "sim/compile.h"
#include "sim/compile_steps.h"

namespace pelkor {

namespace {

// The register that the source named `name` of the child feeds.
ShiftRegisterRuntime* InputPortRegister(OutputLog& log, RuntimeInstance& child,
                                        const std::string& name) {
  if (child.net && child.runtime) {
    for (const auto& [id, source] : child.net->sources) {
      if (source.name != name)
        continue;
      const std::vector<const Arc*> arcs = ArcsOutOf(*child.net, id);
      if (arcs.empty())
        continue;
      if (ShiftRegisterRuntime* inner = child.runtime->FindRegister(arcs.front()->to))
        return inner;
      log.WriteText("GetModuleInputShiftPointerにないぞう");
      log.WriteText("GetModuleInputShiftPointerにえらーがありそう");
      return nullptr;
    }
  }
  log.Write("getmoduleinputshiftpointer end アークname=%s", name);
  log.WriteText("GetModuleInputShiftPointerにえらーがありそう");
  return nullptr;
}

// The register that feeds the sink named `name` of the child.
ShiftRegisterRuntime* OutputPortRegister(RuntimeInstance& child, const std::string& name) {
  if (!child.net || !child.runtime)
    return nullptr;
  for (const auto& [id, sink] : child.net->sinks) {
    if (sink.name != name)
      continue;
    const std::vector<const Arc*> arcs = ArcsInto(*child.net, id);
    if (!arcs.empty())
      return child.runtime->FindRegister(arcs.front()->from);
  }
  return nullptr;
}

// The arcs into an instance that only "new" tokens create: each becomes an input connection
// whose inner side is wired when the instance is created.
bool CompileDynamicInputs(OutputLog& log, RuntimeInstance& node, ModuleInstanceRuntime& compiled) {
  for (const Arc* arc : ArcsInto(*node.net, compiled.id)) {
    ShiftRegisterRuntime* outer = node.runtime->FindRegister(arc->from);
    if (outer == nullptr)
      return false;
    if (arc->name.empty()) {
      log.WriteText("アークの名前が入力されていません");
      return false;
    }
    if (arc->name == "new")
      compiled.newArcRegister = outer;
    if (arc->name == "delete")
      compiled.deleteArcRegister = outer;
    compiled.inputs.push_back({outer, nullptr});
  }
  return true;
}

}  // namespace

bool WireInstancePorts(OutputLog& log, RuntimeInstance& parent, ModuleInstanceRuntime& instance,
                       RuntimeInstance& child) {
  std::vector<PortConnection> inputs;
  for (const Arc* arc : ArcsInto(*parent.net, instance.id)) {
    ShiftRegisterRuntime* outer = parent.runtime->FindRegister(arc->from);
    if (outer == nullptr) {
      log.WriteText("シフトがないone");
      return false;
    }
    if (arc->name.empty()) {
      log.WriteText("アークの名前が入力されていませんone");
      return false;
    }
    ShiftRegisterRuntime* inner = InputPortRegister(log, child, arc->name);
    if (inner == nullptr)
      return false;
    inputs.push_back({outer, inner});
  }

  std::vector<PortConnection> outputs;
  for (const Arc* arc : ArcsOutOf(*parent.net, instance.id)) {
    ShiftRegisterRuntime* outer = parent.runtime->FindRegister(arc->to);
    if (outer == nullptr) {
      log.WriteText("シフトがないtwo");
      return false;
    }
    if (arc->name.empty()) {
      log.WriteText("アークの名前が入力されていません");
      log.WriteText("アークの名前が入力されていませんtwo");
      return false;
    }
    ShiftRegisterRuntime* inner = OutputPortRegister(child, arc->name);
    if (inner == nullptr) {
      log.WriteText("GetModuleOutputShiftPointerにえらーがありそう");
      return false;
    }
    outputs.push_back({outer, inner});
  }
  instance.inputs = std::move(inputs);
  instance.outputs = std::move(outputs);
  return true;
}

bool CompileModuleInstance(OutputLog& log, RuntimeInstance& node, int id, ModuleInstance& instance,
                           ModuleInstanceRuntime& compiled) {
  compiled.id = id;
  compiled.record = &instance;
  compiled.owner = &node;
  if (instance.hasNewArc) {
    if (CompileDynamicInputs(log, node, compiled))
      return true;
    log.WriteText("モジュールコンパイルエラー");
    return false;
  }
  auto child = node.children.find(id);
  if (child == node.children.end())
    return true;
  return WireInstancePorts(log, node, compiled, *child->second);
}

}  // namespace pelkor
