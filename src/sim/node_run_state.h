// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "model/runtime_instance.h"
#include "sim/simulation.h"

namespace pelkor {

class NetRuntime;

// A sink's received values in arrival order, read where they lie.
class ReceivedValues {
 public:
  ReceivedValues() = default;
  explicit ReceivedValues(std::span<const std::uint8_t> values) : bytes_(values) {}
  explicit ReceivedValues(const std::vector<int>& values) : ints_(values) {}

  std::size_t size() const { return bytes_.size() + ints_.size(); }
  int operator[](std::size_t i) const { return bytes_.empty() ? ints_[i] : bytes_[i]; }
  std::vector<int> ToVector() const;

 private:
  std::span<const std::uint8_t> bytes_;
  std::span<const int> ints_;
};

// One node's run-time state as the view, its tooltips and the sink dialog read it: from the
// workspace's engine, or from the records of the reference check. A node without state, or an
// ID without such a primitive, reads as empty: an empty span, an empty list or nullopt. Spans
// last until the state changes.
class NodeRunState {
 public:
  NodeRunState() = default;
  explicit NodeRunState(const NetRuntime* records) : records_(records) {}
  NodeRunState(const Simulation& simulation, const RuntimeInstance& node)
      : simulation_(&simulation), node_(&node) {}

  // A register's cells from the entry to the exit.
  std::span<const std::uint8_t> Cells(int registerId) const;
  std::optional<SourceRunState> Source(int sourceId) const;
  // Every value a sink took, in arrival order.
  ReceivedValues Received(int sinkId) const;
  std::optional<CounterRunState> Counter(int counterId) const;
  std::optional<MachineRunState> Machine(int machineId) const;

 private:
  const NetRuntime* records_ = nullptr;
  const Simulation* simulation_ = nullptr;
  const RuntimeInstance* node_ = nullptr;
};

}  // namespace pelkor
