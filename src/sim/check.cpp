#include <new>

#include "sim/compile.h"
#include "sim/compile_steps.h"

namespace pelkor {

CheckOutcome CheckHierarchy(ModuleLibrary& library) {
  CheckOutcome outcome;
  RuntimeInstance& root = library.rootInstance();
  try {
    PrepareNets(library, root);
  } catch (...) {
    library.log().WriteText("era-");
    outcome.prepareFailed = true;
  }
  std::vector<RuntimeInstance*> compiled;
  outcome.failingNode = CompileInstance(library, root, compiled);
  AppendToSchedule(library, compiled);
  return outcome;
}

void PrepareNets(ModuleLibrary& library, RuntimeInstance& node) {
  if (!node.net) {
    const Module& module = library.ModuleByName(node.name);
    const bool madeByNewToken = module.HasNewSource() && node.parent != nullptr;
    if (!madeByNewToken)
      MakeWorkingCopy(library.log(), node, module);
  }
  for (auto& [id, child] : node.children)
    PrepareNets(library, *child);
}

void MakeWorkingCopy(OutputLog& log, RuntimeInstance& node, const Module& module) {
  node.runtime.reset();
  try {
    node.net = std::make_unique<Module>(module);
    node.runtime.reset(new NetRuntime(*node.net));
  } catch (const std::bad_alloc&) {
    node.runtime.reset();
    node.net.reset();
    log.WriteText("エラー来たー");
  }
}

namespace {

// The register and machine messages name the node's module and the primitive.
bool PrepareRegisters(OutputLog& log, const RuntimeInstance& node, NetRuntime& runtime) {
  for (ShiftRegisterRuntime& shiftRegister : runtime.registers()) {
    if (!PrepareRegister(node.net->shiftRegisters.at(shiftRegister.id()), shiftRegister)) {
      log.Write("%sのシフトレジスタ%dにエラー", node.name, shiftRegister.id());
      return false;
    }
  }
  return true;
}

bool CompileStateMachines(OutputLog& log, const RuntimeInstance& node, NetRuntime& runtime) {
  runtime.machines.clear();
  runtime.machines.reserve(node.net->stateMachines.size());
  for (auto& [id, machine] : node.net->stateMachines) {
    StateMachineRuntime& compiled = runtime.machines.emplace_back();
    if (!CompileStateMachine(log, *node.net, runtime, id, machine, compiled)) {
      log.Write("%sのステートマシン%dにエラー", node.name, id);
      return false;
    }
  }
  return true;
}

bool CompileModuleInstances(OutputLog& log, RuntimeInstance& node, NetRuntime& runtime) {
  runtime.instances.clear();
  runtime.instances.reserve(node.net->instances.size());
  for (auto& [id, instance] : node.net->instances) {
    if (!CompileModuleInstance(log, node, id, instance, runtime.instances.emplace_back())) {
      return false;
    }
  }
  return true;
}

bool CompileCounters(OutputLog& log, const RuntimeInstance& node, NetRuntime& runtime) {
  runtime.counters.clear();
  runtime.counters.reserve(node.net->counters.size());
  for (auto& [id, counter] : node.net->counters) {
    if (!CompileCounter(log, *node.net, runtime, id, counter, runtime.counters.emplace_back())) {
      return false;
    }
  }
  return true;
}

}  // namespace

RuntimeInstance* CompileInstance(ModuleLibrary& library, RuntimeInstance& node,
                                 std::vector<RuntimeInstance*>& compiled) {
  if (!node.net || !node.runtime)
    return nullptr;
  OutputLog& log = library.log();
  NetRuntime& runtime = *node.runtime;
  if (!PrepareRegisters(log, node, runtime) || !CompileStateMachines(log, node, runtime)) {
    return &node;
  }
  PrepareSourcesAndSinks(node, runtime);
  if (!CompileModuleInstances(log, node, runtime) || !CompileCounters(log, node, runtime)) {
    return &node;
  }
  for (auto& [id, child] : node.children) {
    if (RuntimeInstance* failing = CompileInstance(library, *child, compiled))
      return failing;
  }
  compiled.push_back(&node);
  return nullptr;
}

void AppendToSchedule(ModuleLibrary& library, std::span<RuntimeInstance* const> nodes) {
  for (RuntimeInstance* node : nodes) {
    if (node->scheduled)
      continue;
    node->scheduled = true;
    library.instanceSchedule.push_back(node);
  }
}

}  // namespace pelkor
