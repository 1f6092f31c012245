// SPDX-License-Identifier: GPL-3.0-or-later
#include <new>

#include "sim/compile.h"
#include "sim/compile_steps.h"
#include "sim/reference_simulation.h"

namespace pelkor {

void PrepareNets(ModuleLibrary& library, RunNodes& nodes, RuntimeInstance& node) {
  if (!nodes.IsPrepared(node)) {
    const Module& module = library.ModuleByName(node.name);
    const bool madeByNewToken = module.HasNewSource() && node.parent != nullptr;
    if (!madeByNewToken)
      nodes.Prepare(node, module);
  }
  for (auto& [id, child] : node.children)
    PrepareNets(library, nodes, *child);
}

ReferenceSimulation::ReferenceSimulation(ModuleLibrary& library) : library_(library) {}

ReferenceSimulation::~ReferenceSimulation() = default;

CheckOutcome ReferenceSimulation::Check() {
  // The nodes of an earlier check may be gone, and their addresses taken by new ones.
  forms_.clear();
  schedule_.clear();
  scheduled_.clear();
  CheckOutcome outcome;
  RuntimeInstance& root = library_.rootInstance();
  try {
    PrepareNets(library_, *this, root);
  } catch (...) {
    library_.log().WriteText("era-");
    outcome.prepareFailed = true;
  }
  std::vector<RuntimeInstance*> compiled;
  outcome.failingNode = Compile(root, compiled);
  AppendToSchedule(compiled);
  return outcome;
}

void ReferenceSimulation::End() {
  ResetRuntime(library_);
  forms_.clear();
  schedule_.clear();
  scheduled_.clear();
}

bool ReferenceSimulation::IsPrepared(const RuntimeInstance& node) const {
  return forms_.contains(&node);
}

void ReferenceSimulation::Prepare(RuntimeInstance& node, const Module& module) {
  forms_.erase(&node);
  try {
    Form form;
    form.net = std::make_unique<Module>(module);
    form.runtime = std::make_unique<NetRuntime>(*form.net);
    forms_.emplace(&node, std::move(form));
  } catch (const std::bad_alloc&) {
    forms_.erase(&node);
    library_.log().WriteText("エラー来たー");
  }
}

void ReferenceSimulation::Unprepare(RuntimeInstance& node) {
  forms_.erase(&node);
}

const Module* ReferenceSimulation::Net(const RuntimeInstance& node) const {
  const auto form = forms_.find(&node);
  return form != forms_.end() ? form->second.net.get() : nullptr;
}

NetRuntime* ReferenceSimulation::Runtime(const RuntimeInstance& node) {
  const auto form = forms_.find(&node);
  return form != forms_.end() ? form->second.runtime.get() : nullptr;
}

const NetRuntime* ReferenceSimulation::Runtime(const RuntimeInstance& node) const {
  return const_cast<ReferenceSimulation*>(this)->Runtime(node);
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

RuntimeInstance* ReferenceSimulation::Compile(RuntimeInstance& node,
                                              std::vector<RuntimeInstance*>& compiled) {
  const auto form = forms_.find(&node);
  if (form == forms_.end())
    return nullptr;
  OutputLog& log = library_.log();
  const Module& net = *form->second.net;
  NetRuntime& runtime = *form->second.runtime;
  if (!PrepareRegisters(log, node.name, net, runtime) ||
      !CompileMachines(log, node.name, net, runtime)) {
    return &node;
  }
  PrepareSourcesAndSinks(net, node.parent != nullptr ? Net(*node.parent) : nullptr,
                         node.instanceNumber, runtime);
  const bool instancesPassed =
      CompileEach(net.instances, runtime.instances,
                  [&](int id, const ModuleInstance& instance, ModuleInstanceRuntime& out) {
                    return CompileInstance(node, id, instance, out);
                  });
  if (!instancesPassed || !CompileCounters(log, net, runtime))
    return &node;
  for (auto& [id, child] : node.children) {
    if (RuntimeInstance* failing = Compile(*child, compiled))
      return failing;
  }
  compiled.push_back(&node);
  return nullptr;
}

void ReferenceSimulation::AppendToSchedule(std::span<RuntimeInstance* const> nodes) {
  for (RuntimeInstance* node : nodes) {
    if (scheduled_.insert(node).second)
      schedule_.push_back(node);
  }
}

}  // namespace pelkor
