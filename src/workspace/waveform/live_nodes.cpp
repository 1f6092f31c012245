// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/waveform/live_nodes.h"

#include <algorithm>

namespace pelkor {

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

std::string NodePath(const RuntimeInstance& node) {
  if (node.parent == nullptr)
    return node.name;
  return NodePath(*node.parent) + '/' + std::to_string(node.instanceNumber);
}

const RuntimeInstance* FindNode(const RuntimeInstance& root, const std::string& path) {
  if (path == root.name)
    return &root;
  if (path.size() <= root.name.size() || path.compare(0, root.name.size(), root.name) != 0 ||
      path[root.name.size()] != '/') {
    return nullptr;
  }
  const RuntimeInstance* node = &root;
  std::size_t start = root.name.size() + 1;
  while (node != nullptr) {
    const std::size_t slash = std::min(path.find('/', start), path.size());
    const std::string number = path.substr(start, slash - start);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos ||
        number.size() > 9) {
      return nullptr;
    }
    const auto child = node->children.find(std::stoi(number));
    node = child != node->children.end() ? child->second.get() : nullptr;
    if (slash == path.size())
      return node;
    start = slash + 1;
  }
  return nullptr;
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

}  // namespace pelkor
