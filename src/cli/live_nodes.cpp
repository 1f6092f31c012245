#include "cli/live_nodes.h"

namespace pelkor::cli {

namespace {

// `path` is one buffer for the whole walk: runs sample every node after every step.
void Visit(const RuntimeInstance& node, std::string& path,
           const std::function<void(const LiveNode&)>& visit) {
  if (node.net && node.runtime)
    visit(LiveNode{node, *node.runtime, path});
  for (const auto& [number, child] : node.children) {
    const std::size_t length = path.size();
    path += '/';
    path += std::to_string(number);
    Visit(*child, path, visit);
    path.resize(length);
  }
}

}  // namespace

void ForEachLiveNode(const RuntimeInstance& root,
                     const std::function<void(const LiveNode&)>& visit) {
  std::string path = root.name;
  Visit(root, path, visit);
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
