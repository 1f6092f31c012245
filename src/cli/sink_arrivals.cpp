#include "cli/sink_arrivals.h"

#include "model/sink_verification.h"
#include "workspace/waveform/live_nodes.h"

namespace pelkor::cli {

void SinkArrivals::Sample(const Simulation& simulation, const RuntimeInstance& root,
                          std::int64_t step) {
  ForEachLiveNode(simulation, root, [&](const LiveNode& live) {
    std::map<int, std::vector<std::int64_t>>* node = nullptr;
    for (const auto& [id, sink] : live.node.net->sinks) {
      if (!ExpectsValues(sink))
        continue;
      if (node == nullptr)
        node = &steps_[live.path];
      // Values added since the last sample arrived in this step; a node made again while
      // running starts its sinks empty.
      std::vector<std::int64_t>& steps = (*node)[id];
      const std::size_t received = simulation.Received(live.node, id).size();
      if (steps.size() != received)
        steps.resize(received, step);
    }
  });
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
