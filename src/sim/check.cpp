#include <new>

#include "sim/compile.h"
#include "sim/compile_steps.h"

namespace pelkor {

CheckOutcome ReferenceCheck(ModuleLibrary& library) {
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
  PrepareNetsWith(library, node, [&library](RuntimeInstance& prepared, const Module& module) {
    MakeWorkingCopy(library.log(), prepared, module);
  });
}

void MakeWorkingCopy(OutputLog& log, RuntimeInstance& node, const Module& module) {
  node.runtime.reset();
  try {
    node.net = std::make_shared<Module>(module);
    node.runtime = MakeNetRuntime(*node.net);
  } catch (const std::bad_alloc&) {
    node.runtime.reset();
    node.net.reset();
    log.WriteText("エラー来たー");
  }
}

namespace {

// Compiles every record of one primitive map into its run-time list, in ascending ID, up to
// the first that fails.
template <typename Records, typename Compiled, typename Compile>
bool CompileEach(const Records& records, std::vector<Compiled>& compiled, Compile compile) {
  compiled.clear();
  compiled.reserve(records.size());
  for (const auto& [id, record] : records) {
    if (!compile(id, record, compiled.emplace_back()))
      return false;
  }
  return true;
}

}  // namespace

bool PrepareRegisters(OutputLog& log, const std::string& moduleName, const Module& net,
                      NetRuntime& runtime) {
  for (ShiftRegisterRuntime& shiftRegister : runtime.registers()) {
    if (!PrepareRegister(net.shiftRegisters.at(shiftRegister.id()), shiftRegister)) {
      log.Write("%sのシフトレジスタ%dにエラー", moduleName, shiftRegister.id());
      return false;
    }
  }
  return true;
}

bool CompileMachines(OutputLog& log, const std::string& moduleName, const Module& net,
                     NetRuntime& runtime) {
  return CompileEach(net.stateMachines, runtime.machines,
                     [&](int id, const StateMachine& machine, StateMachineRuntime& out) {
                       if (CompileStateMachine(log, net, runtime, id, machine, out))
                         return true;
                       log.Write("%sのステートマシン%dにエラー", moduleName, id);
                       return false;
                     });
}

bool CompileCounters(OutputLog& log, const Module& net, NetRuntime& runtime) {
  return CompileEach(net.counters, runtime.counters,
                     [&](int id, const Counter& counter, CounterRuntime& out) {
                       return CompileCounter(log, net, runtime, id, counter, out);
                     });
}

RuntimeInstance* CompileInstance(ModuleLibrary& library, RuntimeInstance& node,
                                 std::vector<RuntimeInstance*>& compiled) {
  if (!node.net || !node.runtime)
    return nullptr;
  OutputLog& log = library.log();
  Module& net = *node.net;
  NetRuntime& runtime = *node.runtime;
  if (!PrepareRegisters(log, node.name, net, runtime) ||
      !CompileMachines(log, node.name, net, runtime)) {
    return &node;
  }
  PrepareSourcesAndSinks(net, &node, runtime);
  const bool instancesPassed =
      CompileEach(net.instances, runtime.instances,
                  [&](int id, const ModuleInstance& instance, ModuleInstanceRuntime& out) {
                    return CompileModuleInstance(log, node, id, instance, out);
                  });
  if (!instancesPassed || !CompileCounters(log, net, runtime))
    return &node;
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
