// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/waveform/run_signals.h"

namespace pelkor {

namespace {

std::uint8_t SampleRegister(const RunningNode& running, int id) {
  const std::span<const std::uint8_t> cells = running.simulation.Cells(running.node, id);
  return cells.empty() ? kSignalEmpty : SignalBit(cells.back());
}

std::uint8_t SampleSink(const RunningNode& running, int id, std::size_t& seen) {
  const Arrivals arrivals = NewArrivals(running, id, seen);
  return arrivals.end > arrivals.first ? SignalBit(ReceivedAt(running, id, arrivals.end - 1))
                                       : kSignalEmpty;
}

std::uint8_t SampleSource(const RunningNode& running, int id, std::size_t& seen) {
  const std::optional<SourceRunState> source = running.simulation.Source(running.node, id);
  if (!source)
    return kSignalEmpty;
  const std::span<const std::uint8_t> remaining = source->queue.subspan(source->emitted);
  std::uint8_t value = kSignalEmpty;
  if (source->emitted > seen) {
    value = SignalBit(source->queue[source->emitted - 1]);
  } else if (source->holdValue && source->outputRegister &&
             running.simulation.EntryWritten(running.node, *source->outputRegister) &&
             !remaining.empty()) {
    value = SignalBit(remaining.front());  // a held value went out again
  }
  seen = source->emitted;
  return value;
}

}  // namespace

std::string SignalName(const SignalRef& signal) {
  switch (signal.kind) {
    case SignalKind::kRegisterExit:
      return "reg" + std::to_string(signal.id);
    case SignalKind::kSink:
      return "sink" + std::to_string(signal.id);
    case SignalKind::kSource:
      break;
  }
  return "src" + std::to_string(signal.id);
}

std::vector<SignalRef> SignalsOf(const Module& module) {
  std::vector<SignalRef> signals;
  for (const auto& [id, shiftRegister] : module.shiftRegisters)
    signals.push_back({SignalKind::kRegisterExit, id});
  for (const auto& [id, sink] : module.sinks)
    signals.push_back({SignalKind::kSink, id});
  for (const auto& [id, source] : module.sources)
    signals.push_back({SignalKind::kSource, id});
  return signals;
}

Arrivals NewArrivals(const RunningNode& running, int sinkId, std::size_t& seen) {
  const std::size_t count = running.simulation.Received(running.node, sinkId).size();
  const Arrivals arrivals{count < seen ? 0 : seen, count};
  seen = count;
  return arrivals;
}

int ReceivedAt(const RunningNode& running, int sinkId, std::size_t index) {
  return running.simulation.Received(running.node, sinkId)[index];
}

std::optional<std::size_t> FirstDeparture(const RunningNode& running, int sinkId,
                                          const Arrivals& arrivals,
                                          const std::vector<int>& expected) {
  for (std::size_t i = arrivals.first; i < arrivals.end; ++i) {
    if (i >= expected.size() || expected[i] != ReceivedAt(running, sinkId, i))
      return i;
  }
  return std::nullopt;
}

std::uint8_t SampleSignal(const RunningNode& running, const SignalRef& signal, std::size_t& seen) {
  if (!running.HasState())
    return kSignalUnknown;
  switch (signal.kind) {
    case SignalKind::kRegisterExit:
      return SampleRegister(running, signal.id);
    case SignalKind::kSink:
      return SampleSink(running, signal.id, seen);
    case SignalKind::kSource:
      break;
  }
  return SampleSource(running, signal.id, seen);
}

}  // namespace pelkor
