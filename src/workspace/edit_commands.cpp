// SPDX-License-Identifier: GPL-3.0-or-later
// The edits of the module shown: delete, align, copy, cut, paste, undo, redo and naming an
// instance. They keep the instance tree in step with the module instances they remove or add.
#include <map>
#include <vector>

#include "edit/instance_naming.h"
#include "model/clipboard.h"
#include "workspace/design_document.h"

namespace pelkor {

void DesignDocument::DeleteSelectedObjects() {
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
  changes_.Changed(Change::kContent | Change::kSelection);
  if (!instanceIds.empty())
    changes_.Changed(Change::kTree);
}

void DesignDocument::GrowInstanceNodes(const std::vector<int>& instanceIds) {
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

void DesignDocument::DeleteSelection() {
  if (HasSelection())
    DeleteSelectedObjects();
}

void DesignDocument::AlignSelection(int gridSize) {
  if (!HasSelection())
    return;
  Module& module = library_.currentModule();
  module.selection.AlignSelected(module, gridSize);
  module.RecordEdit();
  changes_.Changed(Change::kContent | Change::kSelection);
}

void DesignDocument::Copy(Point anchor) {
  // Arcs alone are no copy: the clipboard would lose what it holds for nothing to paste.
  if (!library_.currentModule().selection.selectedIds.empty())
    library_.clipboard = CopySelection(library_.currentModule(), anchor, log_);
}

void DesignDocument::Cut(Point anchor) {
  Copy(anchor);
  if (HasSelection())
    DeleteSelectedObjects();
}

void DesignDocument::Paste(Point at) {
  if (!CanPaste())
    return;
  Module& module = library_.currentModule();
  if (!module.HasRoomFor(library_.clipboard.PrimitiveCount())) {
    log_.WriteText(kNoObjectIdLeft);
    return;
  }
  const std::map<int, int> newIds = PasteClipboard(library_.clipboard, module, at);
  // What was pasted stays selected, to be moved into place at once.
  module.selection.Clear(module);
  for (const auto& [clipboardId, id] : newIds)
    module.selection.Add(module, id);
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
    changes_.Changed(Change::kTree);
  }
  module.RecordEdit();
  changes_.Changed(Change::kContent | Change::kSelection);
}

bool DesignDocument::Undo() {
  if (!StepThroughHistory(&Module::Undo))
    return false;
  log_.WriteText("undo!!");
  return true;
}

bool DesignDocument::Redo() {
  if (!StepThroughHistory(&Module::Redo))
    return false;
  log_.WriteText("redo!!");
  return true;
}

bool DesignDocument::StepThroughHistory(bool (Module::*step)()) {
  Module& module = library_.currentModule();
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
  changes_.Changed(Change::kContent | Change::kSelection | Change::kTree);
  return true;
}

void DesignDocument::NameInstance(int instanceId) {
  if (!library_.currentModule().instances.contains(instanceId))
    return;
  const std::string name = TrimmedText(ui_.AskModuleName().value_or(""));
  if (name.empty())
    return;
  // A module not in the library whose file lies where the design's modules live is that file's
  // module, read as loading the hierarchy reads it: an empty one saved later would destroy it.
  std::optional<std::filesystem::path> path;
  if (!library_.Exists(name))
    path = ModuleFileIn(FolderOfModule(library_.currentInstance().name), name);
  std::error_code error;
  if (path && std::filesystem::exists(*path, error)) {
    hierarchyReader_ = InputReader(inputLimits_);
    library_.CreateModule(name);
    const std::string fileName = name + ".dtn";
    if (ReadInto(*path, fileName + "をオープンできません", name))
      log_.Write("%sを読み込みました", fileName);
    MarkSaved(name);
  }
  pelkor::NameInstance(library_, instanceId, name);
  GrowInstanceNodes({instanceId});
  library_.RefreshNewDeleteFlags();
  library_.currentModule().RecordEdit();
  changes_.Changed(Change::kTree | Change::kContent);
}

bool DesignDocument::SetSinkExpected(const std::string& moduleName, int sinkId,
                                     const std::string& expected) {
  if (!library_.Exists(moduleName))
    return false;
  Module& module = library_.ModuleByName(moduleName);
  const auto sink = module.sinks.find(sinkId);
  if (sink == module.sinks.end())
    return false;
  sink->second.expected = expected;
  if (module.RecordEdit())
    changes_.Changed(Change::kContent);
  return true;
}

}  // namespace pelkor
