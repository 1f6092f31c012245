#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/module.h"
#include "model/runtime_instance.h"

namespace pelkor {

// The reads of run-time state that the waveforms, the verdicts and the VCD files make. This is
// the one place that knows where a running node keeps its cells, queues and received values.

// What a waveform shows of one primitive of a node: the exit cell of a shift register, the
// value a sink took in a step, the value a source emitted in a step.
enum class SignalKind { kRegisterExit, kSink, kSource };

struct SignalRef {
  SignalKind kind = SignalKind::kRegisterExit;
  int id = 0;

  auto operator<=>(const SignalRef&) const = default;
};

// A signal's value after a step: 0 or 1; kSignalEmpty for an empty exit cell or for no value
// taken or emitted; kSignalUnknown while its node has no run-time state.
inline constexpr std::uint8_t kSignalEmpty = 2;
inline constexpr std::uint8_t kSignalUnknown = 3;

// "reg3", "sink7", "src2".
std::string SignalName(const SignalRef& signal);

// The signals of a module: register exits, then sinks, then sources, each in ascending ID.
std::vector<SignalRef> SignalsOf(const Module& module);

// Whether a node has run-time state to read.
bool HasRunState(const RuntimeInstance& node);

// Every value sink `sinkId` of a running node took, in arrival order.
std::vector<int> ReceivedValues(const RuntimeInstance& node, int sinkId);

// The values a sink took since `seen` of them were known: indexes [first, end) of its received
// list. A node made again while running starts its list afresh, and so do the indexes. Sets
// `seen` to the present count.
struct Arrivals {
  std::size_t first = 0;
  std::size_t end = 0;
};
Arrivals NewArrivals(const RuntimeInstance& node, int sinkId, std::size_t& seen);
int ReceivedAt(const RuntimeInstance& node, int sinkId, std::size_t index);
// The first of `arrivals` that departs from `expected`, the value expected of each arrival in
// arrival order (ExpectedArrivals); a value beyond the expected ones departs too.
std::optional<std::size_t> FirstDeparture(const RuntimeInstance& node, int sinkId,
                                          const Arrivals& arrivals,
                                          const std::vector<int>& expected);

// A signal's value after a step. `seen` belongs to the signal: what its sink took or its
// source emitted up to the previous sample.
std::uint8_t SampleSignal(const RuntimeInstance& node, const SignalRef& signal, std::size_t& seen);

}  // namespace pelkor
