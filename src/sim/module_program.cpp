// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/module_program.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "sim/compile_steps.h"
#include "sim/step_parts.h"

namespace pelkor {

namespace {

// Register records of the compiled net as register numbers.
class RegisterNumbers {
 public:
  explicit RegisterNumbers(std::span<const ShiftRegisterRuntime> registers)
      : first_(registers.data()) {}

  std::uint32_t operator()(const ShiftRegisterRuntime* shiftRegister) const {
    return shiftRegister == nullptr ? kNoIndex : static_cast<std::uint32_t>(shiftRegister - first_);
  }
  std::vector<std::uint32_t> operator()(const std::vector<ShiftRegisterRuntime*>& registers) const {
    std::vector<std::uint32_t> numbers;
    numbers.reserve(registers.size());
    for (const ShiftRegisterRuntime* shiftRegister : registers)
      numbers.push_back((*this)(shiftRegister));
    return numbers;
  }

 private:
  const ShiftRegisterRuntime* first_;
};

// The number of input values a firing passes to a program bound to `inputs` registers.
int ValueCount(std::size_t inputs) {
  return static_cast<int>(std::min(inputs, kMaxInputValues));
}

bool AllBound(const std::vector<std::uint32_t>& registers) {
  return std::find(registers.begin(), registers.end(), kNoIndex) == registers.end();
}

StateProgram CompileState(StateRuntime& state, const RegisterNumbers& number) {
  StateProgram program;
  program.number = state.number;
  program.outputInputs = number(state.outputRegisters.inputs);
  program.outputs = number(state.outputRegisters.outputs);
  program.output = TabledProgram(std::move(state.outputProgram),
                                 ValueCount(program.outputInputs.size()), state.outputCount);
  program.selectionInputs = number(state.selectionRegisters.inputs);
  program.selection =
      TabledProgram(std::move(state.selectionProgram), ValueCount(program.selectionInputs.size()),
                    state.selectionCount);
  program.arcs = state.arcs;
  program.consumeSet = number(state.consumeSet);
  program.enableable =
      state.hasRegisters && AllBound(program.outputInputs) && AllBound(program.selectionInputs);
  program.needTokens = program.outputInputs;
  program.needTokens.insert(program.needTokens.end(), program.selectionInputs.begin(),
                            program.selectionInputs.end());
  for (const std::uint32_t output : program.outputs) {
    if (output != kNoIndex)
      program.needRoom.push_back(output);
  }
  return program;
}

}  // namespace

ModuleProgram::ModuleProgram(const Module& design, NameTable& names) : ports(design) {
  registerIds.reserve(design.shiftRegisters.size());
  for (const auto& [id, shiftRegister] : design.shiftRegisters)
    registerIds.push_back(id);
  // Sized exactly: a large module keeps these for the whole run.
  instances.reserve(design.instances.size());
  std::size_t arcCount = 0;
  for (const auto& [id, record] : design.instances)
    arcCount += ArcsInto(design, id).size() + ArcsOutOf(design, id).size();
  instanceArcs.reserve(arcCount);
  for (const auto& [id, record] : design.instances) {
    InstanceProgram& program = instances.emplace_back();
    program.id = id;
    program.hasNewArc = record.hasNewArc;
    program.hasDeleteArc = record.hasDeleteArc;
    program.absent = record.absent;
    program.created = record.created;
    program.arcs = static_cast<std::uint32_t>(instanceArcs.size());
    for (const Arc* arc : ArcsInto(design, id))
      instanceArcs.push_back({RegisterIndex(arc->from), names.Intern(arc->name)});
    program.inputArcs = static_cast<std::uint32_t>(instanceArcs.size()) - program.arcs;
    for (const Arc* arc : ArcsOutOf(design, id))
      instanceArcs.push_back({RegisterIndex(arc->to), names.Intern(arc->name)});
    program.outputArcs =
        static_cast<std::uint32_t>(instanceArcs.size()) - program.arcs - program.inputArcs;
  }
}

void ModuleProgram::Complete(const Module& design, NetRuntime& compiled,
                             const std::map<std::uint32_t, DynamicInputPlan>& dynamicPlans,
                             NameTable& names) {
  const RegisterNumbers number(compiled.registers());
  cellStarts.reserve(compiled.registers().size() + 1);
  sinks.reserve(compiled.sinks.size());
  sources.reserve(compiled.sources.size());
  counters.reserve(compiled.counters.size());
  machines.reserve(compiled.machines.size());
  for (const ShiftRegisterRuntime& shiftRegister : compiled.registers()) {
    cellStarts.push_back(static_cast<std::uint32_t>(initialCells.size()));
    if (shiftRegister.size() >= UINT32_MAX - initialCells.size())
      throw std::bad_alloc();  // more than any memory holds
    for (std::size_t i = 0; i < shiftRegister.size(); ++i)
      initialCells.push_back(static_cast<std::uint8_t>(shiftRegister.Cell(i)));
  }
  cellStarts.push_back(static_cast<std::uint32_t>(initialCells.size()));

  for (const SinkRuntime& sink : compiled.sinks)
    sinks.push_back({sink.id, names.Intern(design.sinks.at(sink.id).name), number(sink.input)});
  for (const SourceRuntime& source : compiled.sources) {
    sources.push_back({source.id, names.Intern(design.sources.at(source.id).name),
                       number(source.output), source.holdValue,
                       static_cast<std::uint32_t>(queues.size()),
                       static_cast<std::uint32_t>(source.dataQueue.size())});
    queues.insert(queues.end(), source.dataQueue.begin(), source.dataQueue.end());
  }
  for (CounterRuntime& counter : compiled.counters) {
    CounterProgram& program = counters.emplace_back();
    program.id = counter.id;
    program.inputs = number(counter.registers.inputs);
    program.output = number(counter.registers.outputs.front());
    program.count =
        TabledProgram(std::move(counter.countProgram), ValueCount(program.inputs.size()), 1);
    program.hasRegisters = counter.hasRegisters;
    program.noInputMode = counter.noInputMode;
    program.reload = counter.reload;
  }
  for (StateMachineRuntime& machine : compiled.machines) {
    MachineProgram& program = machines.emplace_back();
    program.id = machine.id;
    program.twoStepMode = machine.twoStepMode;
    program.mainIndex = static_cast<std::uint32_t>(machine.current);
    program.mainNumber = machine.currentNumber;
    for (StateRuntime& state : machine.states) {
      const StateProgram& compiledState = program.states.emplace_back(CompileState(state, number));
      resultRoom =
          std::max({resultRoom, static_cast<std::size_t>(compiledState.output.resultCount()),
                    static_cast<std::size_t>(compiledState.selection.resultCount())});
    }
  }
  dynamics.reserve(dynamicPlans.size());
  for (const auto& [place, plan] : dynamicPlans) {
    DynamicProgram& dynamic = dynamics.emplace_back();
    dynamic.instance = place;
    if (plan.newArc)
      dynamic.newArc = RegisterIndex(*plan.newArc);
    if (plan.deleteArc)
      dynamic.deleteArc = RegisterIndex(*plan.deleteArc);
    dynamic.moduleName = names.Intern(design.instances.at(instances[place].id).moduleName);
  }

  // Who looks at each register, once each.
  std::vector<std::vector<Watcher>> watching(registerIds.size());
  const auto watch = [&watching](std::uint32_t shiftRegister, ItemKind kind, std::size_t item) {
    if (shiftRegister == kNoIndex)
      return;
    std::vector<Watcher>& list = watching[shiftRegister];
    const Watcher watcher{static_cast<std::uint32_t>(item), kind};
    if (std::none_of(list.begin(), list.end(), [&](const Watcher& w) {
          return w.item == watcher.item && w.kind == watcher.kind;
        })) {
      list.push_back(watcher);
    }
  };
  for (std::size_t i = 0; i < sinks.size(); ++i)
    watch(sinks[i].input, kSinkItems, i);
  for (std::size_t i = 0; i < sources.size(); ++i)
    watch(sources[i].output, kSourceItems, i);
  for (std::size_t i = 0; i < counters.size(); ++i) {
    for (const std::uint32_t input : counters[i].inputs)
      watch(input, kCounterItems, i);
    watch(counters[i].output, kCounterItems, i);
  }
  for (std::size_t i = 0; i < machines.size(); ++i) {
    for (const StateProgram& state : machines[i].states) {
      for (const auto* registers : {&state.outputInputs, &state.outputs, &state.selectionInputs}) {
        for (const std::uint32_t shiftRegister : *registers)
          watch(shiftRegister, kMachineItems, i);
      }
    }
  }
  for (std::size_t i = 0; i < instances.size(); ++i) {
    const InstanceProgram& instance = instances[i];
    for (std::uint32_t k = 0; k < instance.inputArcs + instance.outputArcs; ++k)
      watch(instanceArcs[instance.arcs + k].shiftRegister, kInstanceItems, i);
  }
  std::size_t watcherCount = 0;
  for (const std::vector<Watcher>& list : watching)
    watcherCount += list.size();
  watchStarts.reserve(watching.size() + 1);
  watchers.reserve(watcherCount);
  for (const std::vector<Watcher>& list : watching) {
    watchStarts.push_back(static_cast<std::uint32_t>(watchers.size()));
    watchers.insert(watchers.end(), list.begin(), list.end());
  }
  portWatchers = static_cast<std::size_t>(
      std::count_if(watchers.begin(), watchers.end(), [this](const Watcher& watcher) {
        return (watcher.kind == kSinkItems && sinks[watcher.item].name != 0) ||
               (watcher.kind == kSourceItems && sources[watcher.item].name != 0);
      }));
  watchStarts.push_back(static_cast<std::uint32_t>(watchers.size()));

  boundary.assign(registerIds.size(), 0);
  for (const auto& [id, source] : design.sources) {
    const std::vector<const Arc*> arcs = ArcsOutOf(design, id);
    if (!source.name.empty() && !arcs.empty()) {
      if (const std::uint32_t shiftRegister = RegisterIndex(arcs.front()->to);
          shiftRegister != kNoIndex) {
        boundary[shiftRegister] = 1;
      }
    }
  }
  for (const auto& [id, sink] : design.sinks) {
    const std::vector<const Arc*> arcs = ArcsInto(design, id);
    if (!sink.name.empty() && !arcs.empty()) {
      if (const std::uint32_t shiftRegister = RegisterIndex(arcs.front()->from);
          shiftRegister != kNoIndex) {
        boundary[shiftRegister] = 1;
      }
    }
  }
}

std::uint32_t ModuleProgram::RegisterIndex(int id) const {
  const auto it = std::lower_bound(registerIds.begin(), registerIds.end(), id);
  return it != registerIds.end() && *it == id ? static_cast<std::uint32_t>(it - registerIds.begin())
                                              : kNoIndex;
}

namespace {

std::vector<PortArc> ArcsAsPorts(const ModuleProgram& program, std::uint32_t first,
                                 std::uint32_t count, const NameTable& names) {
  std::vector<PortArc> arcs;
  arcs.reserve(count);
  for (std::uint32_t k = first; k < first + count; ++k) {
    const InstanceArc& arc = program.instanceArcs[k];
    arcs.push_back(
        {names.Name(arc.name), arc.shiftRegister != kNoIndex
                                   ? std::optional<int>(program.registerIds[arc.shiftRegister])
                                   : std::nullopt});
  }
  return arcs;
}

}  // namespace

std::vector<PortArc> ModuleProgram::PortArcsInto(std::size_t i, const NameTable& names) const {
  return ArcsAsPorts(*this, instances[i].arcs, instances[i].inputArcs, names);
}

std::vector<PortArc> ModuleProgram::PortArcsOutOf(std::size_t i, const NameTable& names) const {
  return ArcsAsPorts(*this, instances[i].arcs + instances[i].inputArcs, instances[i].outputArcs,
                     names);
}

bool ModuleProgram::HasArcNamed(int instanceId, std::uint32_t name, bool into) const {
  const std::uint32_t i = IndexOf(instances, instanceId);
  if (i == kNoIndex)
    return false;
  const InstanceProgram& instance = instances[i];
  const auto first =
      instanceArcs.begin() + instance.arcs + (into ? 0 : std::ptrdiff_t{instance.inputArcs});
  return std::any_of(first, first + (into ? instance.inputArcs : instance.outputArcs),
                     [name](const InstanceArc& arc) { return arc.name == name; });
}

const DynamicProgram& ModuleProgram::DynamicOf(std::size_t i) const {
  return *std::lower_bound(
      dynamics.begin(), dynamics.end(), i,
      [](const DynamicProgram& dynamic, std::size_t place) { return dynamic.instance < place; });
}

}  // namespace pelkor
