// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/module_library.h"

#include "base/errors.h"

namespace pelkor {

namespace {

const char* const kUntitled = "untitle";

// Depth first from `node`, children in ascending instance number.
void VisitDepthFirst(RuntimeInstance& node, const std::function<void(RuntimeInstance&)>& visit) {
  visit(node);
  for (auto& [id, child] : node.children)
    VisitDepthFirst(*child, visit);
}

RuntimeInstance* FindLiveItem(RuntimeInstance& node, TreeItem item) {
  if (node.deleted)
    return nullptr;
  if (node.treeItem != 0 && node.treeItem == item)
    return &node;
  for (auto& [id, child] : node.children) {
    if (RuntimeInstance* found = FindLiveItem(*child, item))
      return found;
  }
  return nullptr;
}

}  // namespace

ModuleLibrary::ModuleLibrary(OutputLog& log) : log_(log) {
  Reset();
}

std::unique_ptr<RuntimeInstance> ModuleLibrary::NewNode(const std::string& name,
                                                        RuntimeInstance* parent,
                                                        int instanceNumber) {
  auto node = std::make_unique<RuntimeInstance>();
  node->name = name;
  node->parent = parent;
  node->instanceNumber = instanceNumber;
  node->treeItem = nextTreeItem_++;
  return node;
}

void ModuleLibrary::Reset() {
  rootInstance_.reset();
  modules_.clear();
  moduleNumbers_.clear();
  clipboard = Module();
  currentModule_ = CreateModule(kUntitled);
  rootInstance_ = NewNode(kUntitled, nullptr, 0);
  currentInstance_ = rootInstance_.get();
}

Module* ModuleLibrary::CreateModule(const std::string& name) {
  if (moduleNumbers_.contains(name))
    return nullptr;
  const int number = static_cast<int>(modules_.size());
  moduleNumbers_[name] = number;
  return &modules_[number];
}

bool ModuleLibrary::RenameModule(const std::string& from, const std::string& to) {
  auto entry = moduleNumbers_.find(from);
  if (entry != moduleNumbers_.end() && from == to)
    return true;
  if (entry == moduleNumbers_.end() || moduleNumbers_.contains(to))
    return false;
  for (const auto& [number, module] : modules_) {
    for (const auto& [id, instance] : module.instances) {
      if (instance.moduleName == from)
        return false;
    }
  }
  const int number = entry->second;
  moduleNumbers_.erase(entry);
  moduleNumbers_[to] = number;
  ForEachNode([&](RuntimeInstance& node) {
    if (node.name == from)
      node.name = to;
  });
  return true;
}

bool ModuleLibrary::Exists(const std::string& name) const {
  return moduleNumbers_.contains(name);
}

Module& ModuleLibrary::ModuleByName(const std::string& name) {
  auto it = moduleNumbers_.find(name);
  if (it == moduleNumbers_.end())
    throw MessageError("モジュールがありません");
  return modules_.at(it->second);
}

const Module& ModuleLibrary::ModuleByName(const std::string& name) const {
  return const_cast<ModuleLibrary*>(this)->ModuleByName(name);
}

Module ModuleLibrary::CopyModuleByName(const std::string& name) const {
  return ModuleByName(name);
}

void ModuleLibrary::SetCurrentModule(const std::string& name) {
  currentModule_ = &ModuleByName(name);
}

void ModuleLibrary::MoveTo(RuntimeInstance& node) {
  currentModule_ = &ModuleByName(node.name);
  currentInstance_ = &node;
}

void ModuleLibrary::EnterInstance(int instanceId, const std::string& moduleName,
                                  const PreparedNodes* running) {
  if (running == nullptr && currentInstance_->name == moduleName) {
    log_.WriteText("再帰です");
    return;
  }
  RuntimeInstance& child = currentInstance_->Child(instanceId);
  if (running != nullptr && !running->IsPrepared(child))
    throw MessageError("まだモジュールが作成されていません");
  MoveTo(child);
}

void ModuleLibrary::GoUp() {
  if (currentInstance_->parent == nullptr)
    return;
  MoveTo(*currentInstance_->parent);
}

void ModuleLibrary::GoToTreeItem(TreeItem item) {
  if (RuntimeInstance* node = FindLiveItem(*rootInstance_, item))
    MoveTo(*node);
}

void ModuleLibrary::InstanceDeleted(TreeItem item) {
  for (RuntimeInstance* node = currentInstance_; node->parent != nullptr;) {
    RuntimeInstance* parent = node->parent;
    if (node->treeItem == item) {
      GoToTreeItem(parent->treeItem);
      log_.WriteText("モジュールがdeleteされたのでviewを変更します");
    }
    node = parent;
  }
}

void ModuleLibrary::LeaveRuntime() {
  currentInstance_ = rootInstance_.get();
  // The root's module is always registered; were it not, the first module is shown rather than
  // a working copy about to be destroyed.
  auto it = moduleNumbers_.find(rootInstance_->name);
  currentModule_ = &modules_.at(it != moduleNumbers_.end() ? it->second : modules_.begin()->first);
}

RuntimeInstance* ModuleLibrary::ExpandInstance(int instanceId, const std::string& moduleName,
                                               RuntimeInstance& parentNode) {
  if (parentNode.RepeatsName(moduleName)) {
    parentNode.dynamicHost = true;
    parentNode.dynamicHostInstance = instanceId;
    return nullptr;
  }
  // A node is grown instance by instance from its module: its first child takes room for all.
  if (parentNode.children.empty()) {
    if (const auto it = moduleNumbers_.find(parentNode.name); it != moduleNumbers_.end())
      parentNode.children.Reserve(modules_.at(it->second).instances.size());
  }
  auto& slot = parentNode.children[instanceId];
  slot = NewNode(moduleName, &parentNode, instanceId);
  return slot.get();
}

void ModuleLibrary::ForEachNode(const std::function<void(RuntimeInstance&)>& visit) {
  VisitDepthFirst(*rootInstance_, visit);
}

void ModuleLibrary::AddInstanceEverywhere(const std::string& moduleName, int instanceId) {
  const std::string hostName = currentInstance_->name;
  ForEachNode([&](RuntimeInstance& node) {
    if (node.name != hostName)
      return;
    if (node.RepeatsName(moduleName)) {
      node.dynamicHost = true;
      node.dynamicHostInstance = instanceId;
    } else if (!node.children.contains(instanceId)) {
      node.children[instanceId] = NewNode(moduleName, &node, instanceId);
    }
  });
}

void ModuleLibrary::RemoveInstanceEverywhere(int instanceId) {
  const std::string hostName = currentInstance_->name;
  ForEachNode([&](RuntimeInstance& node) {
    if (node.name == hostName)
      node.children.erase(instanceId);
  });
}

void ModuleLibrary::RefreshNewDeleteFlags() {
  for (const auto& [name, number] : moduleNumbers_) {
    const std::set<std::string> sourceNames = modules_.at(number).SourceNames();
    if (sourceNames.contains("new"))
      SetNewFlag(name);
    if (sourceNames.contains("delete"))
      SetDeleteFlag(name);
  }
}

void ModuleLibrary::SetInstanceFlag(const std::string& moduleName, bool ModuleInstance::*flag,
                                    bool value) {
  for (auto& [number, module] : modules_) {
    for (auto& [id, instance] : module.instances) {
      if (instance.moduleName == moduleName)
        instance.*flag = value;
    }
  }
}

void ModuleLibrary::SyncAfterUndo(const std::map<int, ModuleInstance>& oldInstances) {
  for (const auto& [id, instance] : oldInstances)
    RemoveInstanceEverywhere(id);
  for (const auto& [id, instance] : currentModule_->instances) {
    if (!instance.moduleName.empty())
      AddInstanceEverywhere(instance.moduleName, id);
  }
}

}  // namespace pelkor
