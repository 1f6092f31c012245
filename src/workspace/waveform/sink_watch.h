// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/runtime_instance.h"
#include "sim/simulation.h"

namespace pelkor {

// A sink that received a value departing from its expectation, and the step it came in.
struct SinkDeparture {
  std::string path;
  int sinkId = 0;
  std::string name;
  std::int64_t step = 0;
};

// Watches every sink with a verdict of every live node for values that depart from what it
// expects, as they arrive.
class SinkWatch {
 public:
  void Clear() { sinks_.clear(); }
  // Looks at what arrived since the last sample; the first sink, depth first in ascending ID,
  // that took a departing value in step `step`, if any.
  std::optional<SinkDeparture> Sample(const Simulation& simulation, const RuntimeInstance& root,
                                      std::int64_t step);

 private:
  struct Watched {
    std::vector<int> expected;  // by arrival
    std::string expectedText;   // the sink's text that `expected` was made from
    std::size_t seen = 0;
  };
  // Takes what the sink received since it was last looked at; the departure, if it took one.
  std::optional<SinkDeparture> Look(const Simulation& simulation, const RuntimeInstance& node,
                                    const std::string& path, int sinkId, const SinkTransition& sink,
                                    std::int64_t step);
  std::map<std::string, std::map<int, Watched>> sinks_;  // by node path, sink ID
};

// How a sink is named in the log: "top/5のケムマキ3<out>".
std::string SinkLogLabel(const std::string& path, int sinkId, const std::string& name);

// The log line that ends a run: how many sinks passed and which failed, by the verdict rules
// of a finished run; empty when no live sink expects values.
std::string VerdictSummary(const Simulation& simulation, const RuntimeInstance& root);

}  // namespace pelkor
