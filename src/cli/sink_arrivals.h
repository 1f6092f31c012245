// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sim/simulation.h"

namespace pelkor::cli {

// The step at which each value reached each sink that expects values, or each sink at all,
// recorded after every step from the sinks the step changed.
class SinkArrivals {
 public:
  SinkArrivals() = default;
  // Every sink, for runs in which a sink may come to expect values later.
  struct EverySink {};
  explicit SinkArrivals(EverySink) : everySink_(true) {}

  // Records what step `step` changed.
  void Sample(const Simulation& simulation, std::int64_t step);
  // Forgets the values that arrived after step `step`, which the simulation went back before.
  void CutAfter(std::int64_t step);

  // The arrival steps of the values a sink holds, in arrival order.
  const std::vector<std::int64_t>& Steps(const std::string& path, int sinkId) const;

 private:
  std::map<std::string, std::map<int, std::vector<std::int64_t>>> steps_;  // by path, sink ID
  bool everySink_ = false;
};

}  // namespace pelkor::cli
