// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/sink_arrivals.h"

#include "model/sink_verification.h"
#include "workspace/waveform/live_nodes.h"

namespace pelkor::cli {

void SinkArrivals::Sample(const Simulation& simulation, std::int64_t step) {
  for (std::size_t k = 0; k < simulation.ChangedSinkCount(); ++k) {
    const auto [node, sinkId] = simulation.ChangedSink(k);
    if (!everySink_ && !ExpectsValues(simulation.ModuleOf(*node).sinks.at(sinkId)))
      continue;
    // Values added since the last sample arrived in this step; a node made again while
    // running starts its sinks empty.
    std::vector<std::int64_t>& steps = steps_[NodePath(*node)][sinkId];
    const std::size_t received = simulation.Received(*node, sinkId).size();
    if (steps.size() != received)
      steps.resize(received, step);
  }
}

void SinkArrivals::CutAfter(std::int64_t step) {
  for (auto& [path, sinks] : steps_) {
    for (auto& [id, steps] : sinks)
      std::erase_if(steps, [step](std::int64_t arrival) { return arrival > step; });
  }
}

const std::vector<std::int64_t>& SinkArrivals::Steps(const std::string& path, int sinkId) const {
  static const std::vector<std::int64_t> kNone;
  const auto node = steps_.find(path);
  if (node == steps_.end())
    return kNone;
  const auto sink = node->second.find(sinkId);
  return sink == node->second.end() ? kNone : sink->second;
}

}  // namespace pelkor::cli
