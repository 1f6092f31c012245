#include "workspace/waveform/live_nodes.h"

#include <algorithm>

namespace pelkor {

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
