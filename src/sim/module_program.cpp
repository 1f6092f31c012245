// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/module_program.h"

#include <algorithm>

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

ModuleProgram::ModuleProgram(std::shared_ptr<Module> workingCopy, NetRuntime& compiled,
                             std::vector<std::optional<DynamicInputPlan>>& dynamicPlans)
    : net(std::move(workingCopy)) {
  const RegisterNumbers number(compiled.registers());
  // Sized exactly: a large module keeps these for the whole run.
  registerIds.reserve(compiled.registers().size());
  cellStarts.reserve(compiled.registers().size() + 1);
  sinks.reserve(compiled.sinks.size());
  sources.reserve(compiled.sources.size());
  counters.reserve(compiled.counters.size());
  machines.reserve(compiled.machines.size());
  instances.reserve(net->instances.size());
  for (const ShiftRegisterRuntime& shiftRegister : compiled.registers()) {
    registerIds.push_back(shiftRegister.id());
    cellStarts.push_back(initialCells.size());
    for (std::size_t i = 0; i < shiftRegister.size(); ++i)
      initialCells.push_back(static_cast<std::uint8_t>(shiftRegister.Cell(i)));
  }
  cellStarts.push_back(initialCells.size());

  for (const SinkRuntime& sink : compiled.sinks)
    sinks.push_back({sink.id, number(sink.input)});
  for (const SourceRuntime& source : compiled.sources) {
    sources.push_back({source.id, number(source.output), source.holdValue,
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
  std::size_t place = 0;
  for (const auto& [id, record] : net->instances) {
    InstanceProgram& program = instances.emplace_back();
    program.id = id;
    program.hasNewArc = record.hasNewArc;
    program.hasDeleteArc = record.hasDeleteArc;
    program.absent = record.absent;
    program.created = record.created;
    program.connectionRoom =
        static_cast<std::uint32_t>(ArcsInto(*net, id).size() + ArcsOutOf(*net, id).size());
    if (const std::optional<DynamicInputPlan>& plan = dynamicPlans[place++]) {
      for (const int outer : plan->outer)
        program.dynamicInputs.push_back(RegisterIndex(outer));
      if (plan->newArc)
        program.newArc = RegisterIndex(*plan->newArc);
      if (plan->deleteArc)
        program.deleteArc = RegisterIndex(*plan->deleteArc);
    }
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
    for (const Arc* arc : ArcsInto(*net, instances[i].id))
      watch(RegisterIndex(arc->from), kInstanceItems, i);
    for (const Arc* arc : ArcsOutOf(*net, instances[i].id))
      watch(RegisterIndex(arc->to), kInstanceItems, i);
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
  watchStarts.push_back(static_cast<std::uint32_t>(watchers.size()));

  boundary.assign(registerIds.size(), 0);
  for (const auto& [id, source] : net->sources) {
    const std::vector<const Arc*> arcs = ArcsOutOf(*net, id);
    if (!source.name.empty() && !arcs.empty()) {
      if (const std::uint32_t shiftRegister = RegisterIndex(arcs.front()->to);
          shiftRegister != kNoIndex) {
        boundary[shiftRegister] = 1;
      }
    }
  }
  for (const auto& [id, sink] : net->sinks) {
    const std::vector<const Arc*> arcs = ArcsInto(*net, id);
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

}  // namespace pelkor
