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
  module.RecordEdit();
  // A node left without its instance would be checked and simulated as a phantom.
  for (int id : instanceIds)
    library_.RemoveInstanceEverywhere(id);
  Changed(Change::kContent | Change::kSelection);
  if (!instanceIds.empty())
    Changed(Change::kTree);
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
  hierarchyReader_ = InputReader(inputLimits_);
  for (RuntimeInstance* node : bareNodes) {
    if (!library_.Exists(node->name))
      continue;
    Module module = library_.CopyModuleByName(node->name);
    LoadSubModules(module, *node);
  }
}

void Workspace::DeleteSelection() {
  const CommandScope scope(*this);
  if (HasSelection() && !simulating_)
    DeleteSelectedObjects();
}

void Workspace::AlignSelection(int gridSize) {
  const CommandScope scope(*this);
  if (!HasSelection() || simulating_)
    return;
  Module& module = library_.currentModule();
  module.selection.AlignSelected(module, gridSize);
  module.RecordEdit();
  Changed(Change::kContent | Change::kSelection);
}

void Workspace::Copy(const Viewport& view) {
  const CommandScope scope(*this);
  if (!HasSelection())
    return;
  // The anchor is kept in model coordinates, so the group lands at the paste point whatever
  // the zoom and scroll are when it is pasted.
  library_.clipboard =
      CopySelection(library_.currentModule(), view.ToLogical(interaction_.anchor), log_);
}

void Workspace::Cut(const Viewport& view) {
  const CommandScope scope(*this);
  if (simulating_)
    return;
  Copy(view);
  if (HasSelection())
    DeleteSelectedObjects();
}

void Workspace::Paste(const Viewport& view) {
  const CommandScope scope(*this);
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
    Changed(Change::kTree);
  }
  module.RecordEdit();
  Changed(Change::kContent);
}

void Workspace::Undo() {
  const CommandScope scope(*this);
  if (!StepThroughHistory(&Module::Undo))
    return;
  log_.WriteText("undo!!");
}

void Workspace::Redo() {
  const CommandScope scope(*this);
  if (!StepThroughHistory(&Module::Redo))
    return;
  log_.WriteText("redo!!");
}

bool Workspace::StepThroughHistory(bool (Module::*step)()) {
  if (simulating_)
    return false;
  Module& module = library_.currentModule();
  controller_.DropToolState();  // the selection may name objects the restored state lacks
  const std::map<int, ModuleInstance> oldInstances = module.instances;
  if (!(module.*step)())
    return false;
  library_.SyncAfterUndo(oldInstances);
  std::vector<int> namedInstances;
  for (const auto& [id, instance] : module.instances) {
    if (!instance.moduleName.empty())
      namedInstances.push_back(id);
  }
  GrowInstanceNodes(namedInstances);
  Changed(Change::kContent | Change::kSelection | Change::kTree);
  return true;
}

}  // namespace pelkor
