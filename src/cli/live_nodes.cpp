#include "cli/live_nodes.h"

namespace pelkor::cli {

namespace {

void Visit(const RuntimeInstance& node, const std::string& path,
           const std::function<void(const LiveNode&)>& visit) {
  if (node.net && node.runtime)
    visit(LiveNode{node, *node.runtime, path});
  for (const auto& [number, child] : node.children) {
    Visit(*child, path + "/" + std::to_string(number), visit);
  }
}

}  // namespace

void ForEachLiveNode(const RuntimeInstance& root,
                     const std::function<void(const LiveNode&)>& visit) {
  Visit(root, root.name, visit);
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
