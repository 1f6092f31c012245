#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "model/sink_verification.h"

namespace pelkor {

class NetRuntime;

// Up to five token values, in the order the view shows them.
struct ShownTokens {
  static constexpr std::size_t kCapacity = 5;

  std::array<int, kCapacity> values{};
  std::size_t count = 0;

  void Push(int value) {
    if (count < kCapacity)
      values[count++] = value;
  }
};

// What the view reads of the run-time state of the node it shows. This is the one place that
// knows the simulation's records; a primitive without a record reads as empty and not ready.
class RunStateReader {
 public:
  // nullptr: the node has no run-time state.
  explicit RunStateReader(const NetRuntime* runtime) : runtime_(runtime) {}

  // A shift register's cells from the exit end, exit cell first.
  ShownTokens RegisterExitCells(int id) const;
  // A source's data still to be emitted, from the back of the queue, back value first.
  ShownTokens SourceQueueBack(int id) const;
  // A sink's received values from the back (last first) or from the front (first first).
  ShownTokens SinkReceivedBack(int id) const;
  ShownTokens SinkReceivedFront(int id) const;
  std::optional<int> CounterRemaining(int id) const;
  bool CounterReady(int id) const;
  bool MachineReady(int id) const;
  // Every cell of a shift register, entry cell first, for the tooltip.
  std::vector<int> RegisterCells(int id) const;
  // The number of the state a machine is in; nullopt when it is in none.
  std::optional<int> MachineCurrentState(int id) const;
  // Whether what a sink received so far agrees with what it expects.
  SinkVerdict SinkLiveVerdict(int id) const;

 private:
  const NetRuntime* runtime_;
};

}  // namespace pelkor
