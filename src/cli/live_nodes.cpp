#include "cli/live_nodes.h"

namespace pelkor::cli {

namespace {

void Visit(const Simulation& simulation, const RuntimeInstance& node, const std::string& path,
           const std::function<void(const LiveNode&)>& visit) {
  if (simulation.HasState(node))
    visit(LiveNode{node, path});
  for (const auto& [number, child] : node.children) {
    Visit(simulation, *child, path + "/" + std::to_string(number), visit);
  }
}

}  // namespace

void ForEachLiveNode(const Simulation& simulation, const RuntimeInstance& root,
                     const std::function<void(const LiveNode&)>& visit) {
  Visit(simulation, root, root.name, visit);
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
