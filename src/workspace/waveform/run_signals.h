// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/module.h"
#include "model/runtime_instance.h"
#include "sim/simulation.h"

namespace pelkor {

// The reads of run-time state that the waveforms, the verdicts and the VCD files make. This is
// the one place that knows how a running node's cells, queues and received values are read.

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

// A token as a signal's value: 0 or 1, kSignalEmpty for anything else.
inline std::uint8_t SignalBit(int value) {
  return value == 0 || value == 1 ? static_cast<std::uint8_t>(value) : kSignalEmpty;
}

// "reg3", "sink7", "src2".
std::string SignalName(const SignalRef& signal);

// The signals of a module: register exits, then sinks, then sources, each in ascending ID.
std::vector<SignalRef> SignalsOf(const Module& module);

// A running node as the signals read it.
struct RunningNode {
  const Simulation& simulation;
  const RuntimeInstance& node;

  bool HasState() const { return simulation.HasState(node); }
};

// The values a sink took since `seen` of them were known: indexes [first, end) of its received
// list. A node made again while running starts its list afresh, and so do the indexes. Sets
// `seen` to the present count.
struct Arrivals {
  std::size_t first = 0;
  std::size_t end = 0;
};
Arrivals NewArrivals(const RunningNode& running, int sinkId, std::size_t& seen);
int ReceivedAt(const RunningNode& running, int sinkId, std::size_t index);
// The first of `arrivals` that departs from `expected`, the value expected of each arrival in
// arrival order (ExpectedArrivals); a value beyond the expected ones departs too.
std::optional<std::size_t> FirstDeparture(const RunningNode& running, int sinkId,
                                          const Arrivals& arrivals,
                                          const std::vector<int>& expected);

// A signal's value after a step. `seen` belongs to the signal: what its sink took or its
// source emitted up to the previous sample.
std::uint8_t SampleSignal(const RunningNode& running, const SignalRef& signal, std::size_t& seen);

}  // namespace pelkor
