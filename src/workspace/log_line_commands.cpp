// SPDX-License-Identifier: GPL-3.0-or-later
// A click on a log line: the object it names, selected and in sight.
#include "workspace/log_line_object.h"
#include "workspace/waveform/live_nodes.h"
#include "workspace/workspace.h"

namespace pelkor {

namespace {

// The first node of a module, depth first in ascending instance number.
const RuntimeInstance* FirstNodeOf(const RuntimeInstance& node, const std::string& moduleName) {
  if (node.name == moduleName)
    return &node;
  for (const auto& [id, child] : node.children) {
    if (const RuntimeInstance* found = FirstNodeOf(*child, moduleName))
      return found;
  }
  return nullptr;
}

}  // namespace

bool Workspace::ShowLogLineObject(std::string_view line, std::string_view next) {
  const CommandScope scope(*this);
  const std::optional<LoggedObject> named = ObjectOfLogLine(line, next);
  if (!named)
    return false;
  const RuntimeInstance& current = library().currentInstance();
  const RuntimeInstance* node = nullptr;
  if (named->placeIsPath)
    node = FindNode(library().rootInstance(), named->place);
  else  // a module's message: the node shown, when it is of that module
    node = current.name == named->place ? &current
                                        : FirstNodeOf(library().rootInstance(), named->place);
  if (node == nullptr)
    return false;
  if (node != &current)
    GoToTreeItem(node->treeItem);
  Module& module = document_.library().currentModule();
  if (library().currentInstance().treeItem != node->treeItem ||
      module.KindOf(named->id) != named->kind)
    return false;
  editor_.tools().DropToolState();
  module.selection.Add(module, named->id);
  // The object is brought into sight in place of the module's start a new node is shown from.
  shownNode_ = node->treeItem;
  editor_.BringIntoView(*module.PositionOf(named->id));
  Changed(Change::kView | Change::kSelection);
  return true;
}

}  // namespace pelkor
