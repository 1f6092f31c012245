#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "model/runtime_instance.h"
#include "sim/simulation.h"

namespace pelkor::cli {

// The step at which each value reached each sink that expects values, recorded by sampling
// the live nodes after the check and after every step.
class SinkArrivals {
 public:
  // Samples every live node after step `step` (0: right after the check).
  void Sample(const Simulation& simulation, const RuntimeInstance& root, std::int64_t step);

  // The arrival steps of the values a sink holds, in arrival order.
  const std::vector<std::int64_t>& Steps(const std::string& path, int sinkId) const;

 private:
  std::map<std::string, std::map<int, std::vector<std::int64_t>>> steps_;  // by path, sink ID
};

}  // namespace pelkor::cli
