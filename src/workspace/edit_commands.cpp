// SPDX-License-Identifier: GPL-3.0-or-later
// The editing commands on the selection of the module shown: delete, align, copy, cut, paste,
// and undo. They keep the instance tree in step with the module instances they remove or add.
#include <map>
#include <vector>

#include "model/clipboard.h"
#include "workspace/workspace.h"

namespace pelkor {

void Workspace::DeleteSelectedObjects() {
  Module& module = library_.currentModule();
  std::vector<int> instanceIds;
  for (int id : module.selection.selectedIds) {
    if (module.instances.contains(id))
      instanceIds.push_back(id);
  }
  module.selection.DeleteSelected(module);
  module.selection.Clear(module);
  module.ClearRedo();
  // A node left without its instance would be checked and simulated as a phantom.
  for (int id : instanceIds)
    library_.RemoveInstanceEverywhere(id);
  if (!instanceIds.empty())
    ui_.ModuleTreeChanged();
}

void Workspace::GrowInstanceNodes(const std::vector<int>& instanceIds) {
  const std::string& hostName = library_.currentInstance().name;
  std::vector<RuntimeInstance*> bareNodes;
  library_.ForEachNode([&](RuntimeInstance& node) {
    if (node.name != hostName)
      return;
    for (int id : instanceIds) {
      auto child = node.children.find(id);
      if (child != node.children.end() && child->second->children.empty()) {
        bareNodes.push_back(child->second.get());
      }
    }
  });
  // Grown only after the walk, which must not see the tree change under it.
  for (RuntimeInstance* node : bareNodes) {
    if (!library_.Exists(node->name))
      continue;
    Module module = library_.CopyModuleByName(node->name);
    LoadSubModules(module, *node);
  }
}

void Workspace::DeleteSelection() {
  if (HasSelection() && !simulating_)
    DeleteSelectedObjects();
  ui_.Redraw();
}

void Workspace::AlignSelection(int gridSize) {
  if (!HasSelection() || simulating_)
    return;
  Module& module = library_.currentModule();
  module.selection.AlignSelected(module, gridSize);
  module.ClearRedo();
  ui_.Redraw();
}

void Workspace::Copy(const Viewport& view) {
  if (!HasSelection())
    return;
  // The anchor is kept in model coordinates, so the group lands at the paste point whatever
  // the zoom and scroll are when it is pasted.
  library_.clipboard =
      CopySelection(library_.currentModule(), view.ToLogical(interaction_.anchor), log_);
}

void Workspace::Cut(const Viewport& view) {
  if (simulating_)
    return;
  Copy(view);
  if (HasSelection())
    DeleteSelectedObjects();
  ui_.Redraw();
}

void Workspace::Paste(const Viewport& view) {
  if (!CanPaste() || simulating_)
    return;
  Module& module = library_.currentModule();
  if (!module.HasRoomFor(library_.clipboard.PrimitiveCount())) {
    log_.WriteText(kNoObjectIdLeft);
    return;
  }
  const std::map<int, int> newIds =
      PasteClipboard(library_.clipboard, module, view.ToLogical(interaction_.lastPressPoint));
  std::vector<int> placedInstances;
  for (const auto& [clipboardId, id] : newIds) {
    auto instance = module.instances.find(id);
    if (instance == module.instances.end() || instance->second.moduleName.empty())
      continue;
    const std::string& name = instance->second.moduleName;
    // As loading does: an instance that would repeat an enclosing module is not expanded.
    instance->second.absent = library_.currentInstance().RepeatsName(name);
    library_.AddInstanceEverywhere(name, id);
    placedInstances.push_back(id);
  }
  if (!placedInstances.empty()) {
    GrowInstanceNodes(placedInstances);
    ui_.ModuleTreeChanged();
  }
  ui_.Redraw();
  module.PushUndo();
}

void Workspace::Undo() {
  if (!StepThroughHistory(&Module::Undo))
    return;
  log_.WriteText("undo!!");
  ui_.Redraw();
}

void Workspace::Redo() {
  if (!StepThroughHistory(&Module::Redo))
    return;
  log_.WriteText("redo!!");
  ui_.Redraw();
}

bool Workspace::StepThroughHistory(bool (Module::*step)()) {
  if (simulating_)
    return false;
  Module& module = library_.currentModule();
  const std::map<int, ModuleInstance> oldInstances = module.instances;
  (module.*step)();
  library_.SyncAfterUndo(oldInstances);
  std::vector<int> namedInstances;
  for (const auto& [id, instance] : module.instances) {
    if (!instance.moduleName.empty())
      namedInstances.push_back(id);
  }
  GrowInstanceNodes(namedInstances);
  ui_.ModuleTreeChanged();
  return true;
}

}  // namespace pelkor
