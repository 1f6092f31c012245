// SPDX-License-Identifier: GPL-3.0-or-later
// The reference engine's step: its eight phases over the records of every live node.
#include <algorithm>

#include "sim/net_runtime.h"
#include "sim/reference_simulation.h"
#include "sim/step_parts.h"

namespace pelkor {

namespace {

void ConsumeAtSinks(NetRuntime& net, StepActivity& activity) {
  for (SinkRuntime& sink : net.sinks) {
    if (sink.isPort || sink.input == nullptr || !sink.input->HasToken())
      continue;
    sink.received.push_back(sink.input->Take());
    activity = 1;
  }
}

void FireMachines(NetRuntime& net, StepActivity& activity) {
  for (StateMachineRuntime& machine : net.machines) {
    if (!machine.ready)
      continue;
    machine.ready = false;
    activity = 1;
    FireMachine(machine);
  }
}

// One firing's count: 0 while counting down, 1 (and a reload) when the count reaches 0. The
// decrement wraps instead of overflowing, for a count number below 1.
void Count(CounterRuntime& counter, bool counted) {
  if (counted)
    counter.remaining = static_cast<int>(static_cast<unsigned>(counter.remaining) - 1U);
  const bool reached = counter.remaining == 0;
  if (reached)
    counter.remaining = counter.reload;
  if (ShiftRegisterRuntime* output = counter.registers.outputs.front())
    output->Put(reached ? 1 : 0);
}

void FireCounters(NetRuntime& net, StepActivity& activity) {
  for (CounterRuntime& counter : net.counters) {
    if (!counter.ready)
      continue;
    if (counter.noInputMode) {
      Count(counter, true);
      continue;
    }
    int values[kMaxInputValues];
    const std::vector<ShiftRegisterRuntime*>& inputs = counter.registers.inputs;
    for (std::size_t k = 0; k < inputs.size(); ++k) {
      const Token value = inputs[k] != nullptr ? inputs[k]->Take() : EMPTY;
      if (k < kMaxInputValues)
        values[k] = value;
    }
    int result = 0;
    Evaluate(counter.countProgram, values,
             static_cast<int>(std::min(inputs.size(), kMaxInputValues)), 1, &result);
    Count(counter, result == 1);
    counter.ready = false;
    activity = 1;
  }
}

void AdvanceRegisters(NetRuntime& net, StepActivity& activity) {
  for (ShiftRegisterRuntime& shiftRegister : net.registers()) {
    if (shiftRegister.Advance())
      activity = 1;
  }
}

void EmitAtSources(NetRuntime& net, StepActivity& activity) {
  for (SourceRuntime& source : net.sources) {
    if (source.isPort || source.output == nullptr)
      continue;
    if (source.emitted == source.dataQueue.size() || !source.output->CanAccept())
      continue;
    // The value leaves the queue even when another producer wrote the entry first.
    source.output->Put(source.dataQueue[source.emitted]);
    if (!source.holdValue)
      ++source.emitted;
    activity = 1;
  }
}

void DecideMachineReadiness(NetRuntime& net, StepActivity& activity) {
  for (StateMachineRuntime& machine : net.machines) {
    if (IsMachineReady(machine))
      activity = 1;
  }
}

void DecideCounterReadiness(NetRuntime& net, StepActivity& activity) {
  for (CounterRuntime& counter : net.counters) {
    if (!counter.hasRegisters)
      continue;
    counter.ready = counter.registers.InputsHaveTokens() && counter.registers.OutputsCanAccept();
    if (counter.ready)
      activity = 1;
  }
}

}  // namespace

void ReferenceSimulation::Step(StepActivity& activity, const StepHooks& hooks) {
  // Runs `phase` on the run-time records of every live node, in schedule order.
  const auto forEachLiveNet = [this](auto phase) {
    for (RuntimeInstance* node : schedule_) {
      if (NetRuntime* runtime = Runtime(*node); !node->deleted && runtime != nullptr)
        phase(*runtime);
    }
  };
  forEachLiveNet([&](NetRuntime& net) { ConsumeAtSinks(net, activity); });
  MoveAcrossBoundaries(activity, hooks);
  forEachLiveNet([&](NetRuntime& net) { FireMachines(net, activity); });
  forEachLiveNet([&](NetRuntime& net) { FireCounters(net, activity); });
  forEachLiveNet([&](NetRuntime& net) { AdvanceRegisters(net, activity); });
  forEachLiveNet([&](NetRuntime& net) { EmitAtSources(net, activity); });
  forEachLiveNet([&](NetRuntime& net) { DecideMachineReadiness(net, activity); });
  forEachLiveNet([&](NetRuntime& net) { DecideCounterReadiness(net, activity); });
}

}  // namespace pelkor
