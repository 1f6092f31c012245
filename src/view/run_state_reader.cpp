// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/run_state_reader.h"

#include <algorithm>

namespace pelkor {

namespace {

// A register shows this many of its cells.
constexpr std::size_t kShownCells = 5;

template <typename Iterator>
ShownTokens Leading(Iterator begin, Iterator end, std::size_t limit) {
  ShownTokens shown;
  for (auto it = begin; it != end && shown.count < std::min(limit, shown.kCapacity); ++it)
    shown.Push(*it);
  return shown;
}

template <typename Values>
ShownTokens FromBack(const Values& values, std::size_t limit) {
  return Leading(values.rbegin(), values.rend(), limit);
}

}  // namespace

ShownTokens RunStateReader::RegisterExitCells(int id) const {
  return FromBack(state_.Cells(id), kShownCells);
}

ShownTokens RunStateReader::SourceQueueBack(int id, std::size_t limit) const {
  const std::optional<SourceRunState> source = state_.Source(id);
  return source ? FromBack(source->queue.subspan(source->emitted), limit) : ShownTokens{};
}

ShownTokens RunStateReader::SinkReceivedBack(int id, std::size_t limit) const {
  const ReceivedValues received = state_.Received(id);
  ShownTokens shown;
  for (std::size_t i = received.size(); i > 0 && shown.count < std::min(limit, shown.kCapacity);
       --i)
    shown.Push(received[i - 1]);
  return shown;
}

ShownTokens RunStateReader::SinkReceivedFront(int id, std::size_t limit) const {
  const ReceivedValues received = state_.Received(id);
  ShownTokens shown;
  for (std::size_t i = 0; i < received.size() && shown.count < std::min(limit, shown.kCapacity);
       ++i)
    shown.Push(received[i]);
  return shown;
}

SinkVerdict RunStateReader::SinkLiveVerdict(const SinkTransition& sink, int id) const {
  if (!ExpectsValues(sink))  // asked at every paint
    return SinkVerdict::kNone;
  return LiveVerdict(sink, state_.Received(id).ToVector());
}

std::optional<int> RunStateReader::CounterRemaining(int id) const {
  const std::optional<CounterRunState> counter = state_.Counter(id);
  return counter ? std::optional<int>(counter->remaining) : std::nullopt;
}

bool RunStateReader::CounterReady(int id) const {
  const std::optional<CounterRunState> counter = state_.Counter(id);
  return counter && counter->ready;
}

bool RunStateReader::MachineReady(int id) const {
  const std::optional<MachineRunState> machine = state_.Machine(id);
  return machine && machine->ready;
}

std::vector<int> RunStateReader::RegisterCells(int id) const {
  const std::span<const std::uint8_t> cells = state_.Cells(id);
  return {cells.begin(), cells.end()};
}

std::optional<int> RunStateReader::MachineCurrentState(int id) const {
  const std::optional<MachineRunState> machine = state_.Machine(id);
  if (!machine || machine->currentNumber == 0)
    return std::nullopt;
  return machine->currentNumber;
}

}  // namespace pelkor
