#include "workspace/waveform/run_signals.h"

#include "sim/net_runtime.h"

namespace pelkor {

namespace {

const SinkTransition* RunningSink(const RuntimeInstance& node, int sinkId) {
  if (!HasRunState(node))
    return nullptr;
  const SinkRuntime* sink = node.runtime->FindSink(sinkId);
  return sink != nullptr ? sink->record : nullptr;
}

std::uint8_t Bit(int value) {
  return value == 0 || value == 1 ? static_cast<std::uint8_t>(value) : kSignalEmpty;
}

std::uint8_t SampleRegister(const RuntimeInstance& node, int id) {
  const ShiftRegisterRuntime* shiftRegister = node.runtime->FindRegister(id);
  return shiftRegister != nullptr ? Bit(shiftRegister->ExitValue()) : kSignalEmpty;
}

std::uint8_t SampleSink(const RuntimeInstance& node, int id, std::size_t& seen) {
  const Arrivals arrivals = NewArrivals(node, id, seen);
  return arrivals.end > arrivals.first ? Bit(ReceivedAt(node, id, arrivals.end - 1))
                                       : kSignalEmpty;
}

std::uint8_t SampleSource(const RuntimeInstance& node, int id, std::size_t& seen) {
  const SourceRuntime* source = node.runtime->FindSource(id);
  if (source == nullptr)
    return kSignalEmpty;
  std::uint8_t value = kSignalEmpty;
  if (source->emitted > seen) {
    value = Bit(source->dataQueue[source->emitted - 1]);
  } else if (source->holdValue && source->output != nullptr && source->output->entryWritten() &&
             !source->RemainingQueue().empty()) {
    value = Bit(source->RemainingQueue().front());  // a held value went out again
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

bool HasRunState(const RuntimeInstance& node) {
  return node.net && node.runtime;
}

std::vector<int> ReceivedValues(const RuntimeInstance& node, int sinkId) {
  const SinkTransition* sink = RunningSink(node, sinkId);
  return sink != nullptr ? sink->received : std::vector<int>{};
}

Arrivals NewArrivals(const RuntimeInstance& node, int sinkId, std::size_t& seen) {
  const SinkTransition* sink = RunningSink(node, sinkId);
  const std::size_t count = sink != nullptr ? sink->received.size() : 0;
  const Arrivals arrivals{count < seen ? 0 : seen, count};
  seen = count;
  return arrivals;
}

int ReceivedAt(const RuntimeInstance& node, int sinkId, std::size_t index) {
  return RunningSink(node, sinkId)->received.at(index);
}

std::optional<std::size_t> FirstDeparture(const RuntimeInstance& node, int sinkId,
                                          const Arrivals& arrivals,
                                          const std::vector<int>& expected) {
  for (std::size_t i = arrivals.first; i < arrivals.end; ++i) {
    if (i >= expected.size() || expected[i] != ReceivedAt(node, sinkId, i))
      return i;
  }
  return std::nullopt;
}

std::uint8_t SampleSignal(const RuntimeInstance& node, const SignalRef& signal, std::size_t& seen) {
  if (!HasRunState(node))
    return kSignalUnknown;
  switch (signal.kind) {
    case SignalKind::kRegisterExit:
      return SampleRegister(node, signal.id);
    case SignalKind::kSink:
      return SampleSink(node, signal.id, seen);
    case SignalKind::kSource:
      break;
  }
  return SampleSource(node, signal.id, seen);
}

}  // namespace pelkor
