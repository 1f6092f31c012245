// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's phases other than phase 2, each over the items that may act.
#include "sim/engine.h"
#include "sim/step_parts.h"

namespace pelkor {

void Engine::Step(StepActivity& activity, const StepHooks& hooks) {
  changedSinks_.clear();
  const bool watching = !watchedExits_.empty();
  if (watching)
    NoteExits(StepMoment::kStart);
  ConsumeAtSinks(activity);
  MoveAcrossBoundaries(activity, hooks);
  FireMachines(activity);
  FireCounters(activity);
  if (watching)
    NoteExits(StepMoment::kBeforeAdvance);
  AdvanceRegisters(activity);
  if (watching)
    NoteExits(StepMoment::kAfterAdvance);
  EmitAtSources(activity);
  if (watching)
    NoteExits(StepMoment::kAfterEmit);
  DecideMachineReadiness(activity);
  DecideCounterReadiness(activity);
}

void Engine::ConsumeAtSinks(StepActivity& activity) {
  const std::size_t end = sinks_.size();
  for (std::size_t i = sets_[kSinkItems].Next(0, end); i < end;
       i = sets_[kSinkItems].Next(i + 1, end)) {
    sets_[kSinkItems].Erase(i);
    const SinkItem& sink = sinks_[i];
    if (sink.input == kNoIndex || !Live(sink.node) || !HasToken(sink.input))
      continue;
    received_[sink.received].push_back(static_cast<std::uint8_t>(Take(sink.input)));
    changedSinks_.push_back(static_cast<std::uint32_t>(i));
    activity = 1;
  }
}

void Engine::FireMachines(StepActivity& activity) {
  for (const std::uint32_t m : readyMachines_) {
    MachineItem& machine = machines_[m];
    if (!machine.ready || !Live(machine.node))
      continue;
    machine.ready = false;
    activity = 1;
    FireMachine(machine);
    sets_[kMachineItems].Insert(m);
  }
}

namespace {

// One firing's count: 0 while counting down, 1 (and a reload) when the count reaches 0. The
// decrement wraps instead of overflowing, for a count number below 1.
bool Count(Engine::CounterItem& counter, bool counted) {
  if (counted)
    counter.remaining = static_cast<int>(static_cast<unsigned>(counter.remaining) - 1U);
  const bool reached = counter.remaining == 0;
  if (reached)
    counter.remaining = counter.program->reload;
  return reached;
}

}  // namespace

void Engine::FireCounters(StepActivity& activity) {
  for (const std::uint32_t c : readyCounters_) {
    CounterItem& counter = counters_[c];
    if (!counter.ready || !Live(counter.node))
      continue;
    const CounterProgram& program = *counter.program;
    sets_[kCounterItems].Insert(c);
    bool counted = true;
    if (!program.noInputMode) {
      int values[kMaxInputValues];
      for (std::size_t k = 0; k < program.inputs.size(); ++k) {
        const std::uint32_t input = program.inputs[k];
        const Token value = input != kNoIndex ? Take(counter.registers + input) : EMPTY;
        if (k < kMaxInputValues)
          values[k] = value;
      }
      int result = 0;
      program.count.Run(values, &result);
      counted = result == 1;
    }
    const bool reached = Count(counter, counted);
    if (program.output != kNoIndex)
      Put(counter.registers + program.output, reached ? 1 : 0);
    if (!program.noInputMode) {
      counter.ready = false;
      activity = 1;
    }
  }
}

void Engine::AdvanceRegisters(StepActivity& activity) {
  for (const std::uint32_t r : writtenSingles_) {
    if (Live(registerNode_[r]))
      registers_[r].written = 0;
  }
  writtenSingles_.clear();
  const std::size_t end = registers_.size();
  for (std::size_t r = registerSet_.Next(0, end); r < end; r = registerSet_.Next(r + 1, end)) {
    registerSet_.Erase(r);
    if (!Live(registerNode_[r]))
      continue;
    RegisterSlot& slot = registers_[r];
    slot.written = 0;
    if (slot.last != 0 &&
        AdvanceCells(WritableCells(static_cast<std::uint32_t>(r)), std::size_t{slot.last} + 1)) {
      activity = 1;
      Touch(static_cast<std::uint32_t>(r));
    }
  }
}

void Engine::EmitAtSources(StepActivity& activity) {
  const std::size_t end = sources_.size();
  for (std::size_t i = sets_[kSourceItems].Next(0, end); i < end;
       i = sets_[kSourceItems].Next(i + 1, end)) {
    sets_[kSourceItems].Erase(i);
    SourceItem& source = sources_[i];
    if (source.output == kNoIndex || !Live(source.node))
      continue;
    if (source.emitted == source.queueLength || !CanAccept(source.output))
      continue;
    // The value leaves the queue even when another producer wrote the entry first.
    Put(source.output, source.queue[source.emitted]);
    if (!source.holdValue)
      ++source.emitted;
    activity = 1;
    sets_[kSourceItems].Insert(i);
  }
}

void Engine::DecideMachineReadiness(StepActivity& activity) {
  readyMachines_.clear();
  const std::size_t end = machines_.size();
  for (std::size_t m = sets_[kMachineItems].Next(0, end); m < end;
       m = sets_[kMachineItems].Next(m + 1, end)) {
    sets_[kMachineItems].Erase(m);
    MachineItem& machine = machines_[m];
    if (!Live(machine.node) || !IsMachineReady(machine))
      continue;
    activity = 1;
    readyMachines_.push_back(static_cast<std::uint32_t>(m));
  }
}

void Engine::DecideCounterReadiness(StepActivity& activity) {
  readyCounters_.clear();
  const std::size_t end = counters_.size();
  for (std::size_t c = sets_[kCounterItems].Next(0, end); c < end;
       c = sets_[kCounterItems].Next(c + 1, end)) {
    sets_[kCounterItems].Erase(c);
    CounterItem& counter = counters_[c];
    const CounterProgram& program = *counter.program;
    if (!Live(counter.node) || !program.hasRegisters)
      continue;
    bool ready = program.output == kNoIndex || CanAccept(counter.registers + program.output);
    for (const std::uint32_t input : program.inputs) {
      if (input == kNoIndex || !HasToken(counter.registers + input))
        ready = false;
    }
    counter.ready = ready;
    if (ready) {
      activity = 1;
      readyCounters_.push_back(static_cast<std::uint32_t>(c));
    }
  }
}

}  // namespace pelkor
