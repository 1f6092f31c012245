// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/stop_reasons.h"

#include "workspace/waveform/live_nodes.h"

namespace pelkor {

std::vector<StopReason> FindStopReasons(const Simulation& simulation, const RuntimeInstance& root) {
  std::vector<StopReason> reasons;
  ForEachLiveNode(simulation, root, [&](const LiveNode& live) {
    for (BlockedObject& object : simulation.Blocked(live.node))
      reasons.push_back({live.path, live.node.treeItem, std::move(object)});
  });
  return reasons;
}

std::string StopReasonLine(const StopReason& reason) {
  return reason.path + ' ' + ObjectLabel(reason.object.kind, reason.object.id) + ": " +
         reason.object.reason;
}

}  // namespace pelkor
