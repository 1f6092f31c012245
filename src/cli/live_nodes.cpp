#include "cli/live_nodes.h"

namespace pelkor::cli {

namespace {

// `path` is one buffer for the whole walk: runs sample every node after every step.
void Visit(const Simulation& simulation, const RuntimeInstance& node, std::string& path,
           const std::function<void(const LiveNode&)>& visit) {
  if (simulation.HasState(node))
    visit(LiveNode{node, path});
  for (const auto& [number, child] : node.children) {
    const std::size_t length = path.size();
    path += '/';
    path += std::to_string(number);
    Visit(simulation, *child, path, visit);
    path.resize(length);
  }
}

}  // namespace

void ForEachLiveNode(const Simulation& simulation, const RuntimeInstance& root,
                     const std::function<void(const LiveNode&)>& visit) {
  std::string path = root.name;
  Visit(simulation, root, path, visit);
}

std::vector<int> Received(const Simulation& simulation, const LiveNode& live, int sinkId) {
  const std::span<const std::uint8_t> received = simulation.Received(live.node, sinkId);
  return {received.begin(), received.end()};
}

std::string TokenText(int value) {
  switch (value) {
    case 0:
      return "0";
    case 1:
      return "1";
    default:
      return "-";
  }
}

}  // namespace pelkor::cli
