#include "cli/sink_arrivals.h"

#include "cli/live_nodes.h"
#include "model/sink_verification.h"

namespace pelkor::cli {

void SinkArrivals::Sample(const RuntimeInstance& root, std::int64_t step) {
  ForEachLiveNode(root, [&](const LiveNode& live) {
    for (const auto& [id, sink] : live.node.net->sinks) {
      if (!ExpectsValues(sink))
        continue;
      // Values added since the last sample arrived in this step; a node made again while
      // running starts its sinks empty.
      steps_[{live.path, id}].resize(sink.received.size(), step);
    }
  });
}

const std::vector<std::int64_t>& SinkArrivals::Steps(const std::string& path, int sinkId) const {
  static const std::vector<std::int64_t> kNone;
  const auto found = steps_.find({path, sinkId});
  return found == steps_.end() ? kNone : found->second;
}

}  // namespace pelkor::cli
