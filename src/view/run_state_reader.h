// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "model/sink_verification.h"
#include "sim/node_run_state.h"

namespace pelkor {

// The token values the view shows, in the order it shows them: a register's first five cells,
// as many of a source's or sink's values as its label has room for.
struct ShownTokens {
  static constexpr std::size_t kCapacity = 64;

  std::array<int, kCapacity> values{};
  std::size_t count = 0;

  void Push(int value) {
    if (count < kCapacity)
      values[count++] = value;
  }
};

// What the view reads of the run-time state of the node it shows; a primitive without state
// reads as empty and not ready.
class RunStateReader {
 public:
  explicit RunStateReader(const NodeRunState& state) : state_(state) {}
  // The records of the reference check; nullptr: the node has no run-time state.
  explicit RunStateReader(const NetRuntime* runtime) : state_(runtime) {}

  // A shift register's first five cells from the exit end, exit cell first.
  ShownTokens RegisterExitCells(int id) const;
  // Up to `limit` of a source's data still to be emitted, from the back of the queue, back
  // value first.
  ShownTokens SourceQueueBack(int id, std::size_t limit) const;
  // Up to `limit` of a sink's received values from the back (last first) or from the front
  // (first first).
  ShownTokens SinkReceivedBack(int id, std::size_t limit) const;
  ShownTokens SinkReceivedFront(int id, std::size_t limit) const;
  std::optional<int> CounterRemaining(int id) const;
  bool CounterReady(int id) const;
  bool MachineReady(int id) const;
  // Every cell of a shift register, entry cell first, for the tooltip.
  std::vector<int> RegisterCells(int id) const;
  // The number of the state a machine is in; nullopt when it is in none.
  std::optional<int> MachineCurrentState(int id) const;
  // Whether what sink `id` received so far agrees with what `sink` expects.
  SinkVerdict SinkLiveVerdict(const SinkTransition& sink, int id) const;

 private:
  NodeRunState state_;
};

}  // namespace pelkor
