// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/module_tree_rows.h"

#include <algorithm>

namespace pelkor {

namespace {

std::string NodeLabel(const RuntimeInstance& node) {
  return node.parent == nullptr ? node.name : std::to_string(node.instanceNumber) + ":" + node.name;
}

void AddRows(const RuntimeInstance& node, TreeItem parent, const PreparedNodes* running,
             std::vector<ModuleTreeRow>& rows) {
  if (running != nullptr && node.parent != nullptr && !running->IsPrepared(node))
    return;
  rows.push_back({node.treeItem, parent, node.name, NodeLabel(node)});
  for (const auto& [number, child] : node.children)
    AddRows(*child, node.treeItem, running, rows);
}

}  // namespace

ModuleTree BuildModuleTree(const ModuleLibrary& library, const PreparedNodes* running) {
  ModuleTree tree;
  AddRows(library.rootInstance(), 0, running, tree.rows);
  const TreeItem current = library.currentInstance().treeItem;
  const bool shown =
      std::any_of(tree.rows.begin(), tree.rows.end(),
                  [current](const ModuleTreeRow& row) { return row.item == current; });
  tree.current = shown ? current : 0;
  return tree;
}

std::string InstancePath(const RuntimeInstance& node) {
  std::string path = NodeLabel(node);
  for (const RuntimeInstance* above = node.parent; above != nullptr; above = above->parent)
    path = NodeLabel(*above) + " / " + path;
  return path;
}

TreeItem FindModuleRow(const ModuleTree& tree, const std::string& moduleName) {
  TreeItem first = 0;
  for (const ModuleTreeRow& row : tree.rows) {
    if (row.name != moduleName)
      continue;
    if (row.item == tree.current)
      return row.item;
    if (first == 0)
      first = row.item;
  }
  return first;
}

}  // namespace pelkor
