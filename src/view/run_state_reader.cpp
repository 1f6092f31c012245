#include "view/run_state_reader.h"

#include "sim/net_runtime.h"

namespace pelkor {

namespace {

template <typename Iterator>
ShownTokens Leading(Iterator begin, Iterator end) {
  ShownTokens shown;
  for (auto it = begin; it != end && shown.count < shown.kCapacity; ++it)
    shown.Push(*it);
  return shown;
}

template <typename Values>
ShownTokens FromBack(const Values& values) {
  return Leading(values.rbegin(), values.rend());
}

}  // namespace

ShownTokens RunStateReader::RegisterExitCells(int id) const {
  ShownTokens shown;
  const ShiftRegisterRuntime* shiftRegister =
      runtime_ != nullptr ? runtime_->FindRegister(id) : nullptr;
  if (shiftRegister == nullptr)
    return shown;
  for (std::size_t i = shiftRegister->size(); i > 0 && shown.count < shown.kCapacity; --i)
    shown.Push(shiftRegister->Cell(i - 1));
  return shown;
}

ShownTokens RunStateReader::SourceQueueBack(int id) const {
  const SourceRuntime* source = runtime_ != nullptr ? runtime_->FindSource(id) : nullptr;
  return source != nullptr ? FromBack(source->RemainingQueue()) : ShownTokens{};
}

ShownTokens RunStateReader::SinkReceivedBack(int id) const {
  const SinkRuntime* sink = runtime_ != nullptr ? runtime_->FindSink(id) : nullptr;
  return sink != nullptr && sink->record != nullptr ? FromBack(sink->record->received)
                                                    : ShownTokens{};
}

ShownTokens RunStateReader::SinkReceivedFront(int id) const {
  const SinkRuntime* sink = runtime_ != nullptr ? runtime_->FindSink(id) : nullptr;
  if (sink == nullptr || sink->record == nullptr)
    return {};
  return Leading(sink->record->received.begin(), sink->record->received.end());
}

SinkVerdict RunStateReader::SinkLiveVerdict(int id) const {
  const SinkRuntime* sink = runtime_ != nullptr ? runtime_->FindSink(id) : nullptr;
  return sink != nullptr && sink->record != nullptr
             ? LiveVerdict(*sink->record, sink->record->received)
             : SinkVerdict::kNone;
}

std::optional<int> RunStateReader::CounterRemaining(int id) const {
  const CounterRuntime* counter = runtime_ != nullptr ? runtime_->FindCounter(id) : nullptr;
  return counter != nullptr ? std::optional<int>(counter->remaining) : std::nullopt;
}

bool RunStateReader::CounterReady(int id) const {
  const CounterRuntime* counter = runtime_ != nullptr ? runtime_->FindCounter(id) : nullptr;
  return counter != nullptr && counter->ready;
}

bool RunStateReader::MachineReady(int id) const {
  const StateMachineRuntime* machine = runtime_ != nullptr ? runtime_->FindMachine(id) : nullptr;
  return machine != nullptr && machine->ready;
}

std::vector<int> RunStateReader::RegisterCells(int id) const {
  std::vector<int> cells;
  const ShiftRegisterRuntime* shiftRegister =
      runtime_ != nullptr ? runtime_->FindRegister(id) : nullptr;
  if (shiftRegister == nullptr)
    return cells;
  for (std::size_t i = 0; i < shiftRegister->size(); ++i)
    cells.push_back(shiftRegister->Cell(i));
  return cells;
}

std::optional<int> RunStateReader::MachineCurrentState(int id) const {
  const StateMachineRuntime* machine = runtime_ != nullptr ? runtime_->FindMachine(id) : nullptr;
  if (machine == nullptr || machine->currentNumber == 0)
    return std::nullopt;
  return machine->currentNumber;
}

}  // namespace pelkor
