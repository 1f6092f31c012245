// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/node_run_state.h"

#include "sim/net_runtime.h"

namespace pelkor {

std::span<const std::uint8_t> NodeRunState::Cells(int registerId) const {
  if (simulation_ != nullptr)
    return simulation_->Cells(*node_, registerId);
  const ShiftRegisterRuntime* shiftRegister =
      records_ != nullptr ? records_->FindRegister(registerId) : nullptr;
  return shiftRegister != nullptr ? shiftRegister->cells() : std::span<const std::uint8_t>();
}

std::optional<SourceRunState> NodeRunState::Source(int sourceId) const {
  if (simulation_ != nullptr)
    return simulation_->Source(*node_, sourceId);
  const SourceRuntime* source = records_ != nullptr ? records_->FindSource(sourceId) : nullptr;
  if (source == nullptr)
    return std::nullopt;
  SourceRunState state{source->dataQueue, source->emitted, std::nullopt, source->holdValue};
  if (source->output != nullptr)
    state.outputRegister = source->output->id();
  return state;
}

std::vector<int> ReceivedValues::ToVector() const {
  if (bytes_.empty())
    return {ints_.begin(), ints_.end()};
  return {bytes_.begin(), bytes_.end()};
}

ReceivedValues NodeRunState::Received(int sinkId) const {
  if (simulation_ != nullptr)
    return ReceivedValues(simulation_->Received(*node_, sinkId));
  const SinkRuntime* sink = records_ != nullptr ? records_->FindSink(sinkId) : nullptr;
  return sink != nullptr ? ReceivedValues(sink->received) : ReceivedValues();
}

std::optional<CounterRunState> NodeRunState::Counter(int counterId) const {
  if (simulation_ != nullptr)
    return simulation_->Counter(*node_, counterId);
  const CounterRuntime* counter = records_ != nullptr ? records_->FindCounter(counterId) : nullptr;
  if (counter == nullptr)
    return std::nullopt;
  return CounterRunState{counter->remaining, counter->ready};
}

std::optional<MachineRunState> NodeRunState::Machine(int machineId) const {
  if (simulation_ != nullptr)
    return simulation_->Machine(*node_, machineId);
  const StateMachineRuntime* machine =
      records_ != nullptr ? records_->FindMachine(machineId) : nullptr;
  if (machine == nullptr)
    return std::nullopt;
  return MachineRunState{machine->currentNumber, machine->Current().number, machine->ready};
}

}  // namespace pelkor
