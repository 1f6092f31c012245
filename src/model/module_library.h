// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/module.h"
#include "model/output_log.h"
#include "model/runtime_instance.h"

namespace pelkor {

// Every module definition under its unique name, the module shown, the clipboard and the
// instance tree that the module tree window shows and the simulation runs.
class ModuleLibrary {
 public:
  explicit ModuleLibrary(OutputLog& log);
  ModuleLibrary(const ModuleLibrary&) = delete;
  ModuleLibrary& operator=(const ModuleLibrary&) = delete;

  // Back to one empty module "untitle" at the root of a one-node tree.
  void Reset();
  // Registers a new empty module; nullptr when the name is taken.
  Module* CreateModule(const std::string& name);
  // Whether modules keep states to undo to, those there and those made later; a library only
  // read and run keeps none (see Module::KeepHistory).
  void KeepEditHistory(bool keep);
  // Gives a module another name, keeping its design and its nodes in the tree. False, and
  // nothing changed, when the new name is taken, the old one unknown, or an instance names the
  // module (it would then name a module that is not there).
  bool RenameModule(const std::string& from, const std::string& to);
  bool Exists(const std::string& name) const;
  // Throws "モジュールがありません" for a name that is not registered.
  Module& ModuleByName(const std::string& name);
  const Module& ModuleByName(const std::string& name) const;
  Module CopyModuleByName(const std::string& name) const;
  void SetCurrentModule(const std::string& name);

  // The hierarchy moves; the module shown is always the definition of the node shown. Texts
  // thrown by Child and EnterInstance reach the caller. `running` is the simulation, or nullptr
  // when none runs: while one runs, only a node it prepared can be entered.
  void EnterInstance(int instanceId, const std::string& moduleName, const PreparedNodes* running);
  void GoUp();
  void GoToTreeItem(TreeItem item);
  void InstanceDeleted(TreeItem item);
  // At the end of a simulation: the root becomes the current instance and its module definition
  // the current module.
  void LeaveRuntime();

  // The recursion rule: nullptr (and the parent becomes a dynamic host) when the instance
  // would repeat an enclosing module; otherwise the new child node.
  RuntimeInstance* ExpandInstance(int instanceId, const std::string& moduleName,
                                  RuntimeInstance& parentNode);
  void AddInstanceEverywhere(const std::string& moduleName, int instanceId);
  void RemoveInstanceEverywhere(int instanceId);

  void RefreshNewDeleteFlags();
  void SetNewFlag(const std::string& moduleName) {
    SetInstanceFlag(moduleName, &ModuleInstance::hasNewArc, true);
  }
  void ClearNewFlag(const std::string& moduleName) {
    SetInstanceFlag(moduleName, &ModuleInstance::hasNewArc, false);
  }
  void SetDeleteFlag(const std::string& moduleName) {
    SetInstanceFlag(moduleName, &ModuleInstance::hasDeleteArc, true);
  }
  void ClearDeleteFlag(const std::string& moduleName) {
    SetInstanceFlag(moduleName, &ModuleInstance::hasDeleteArc, false);
  }

  // Brings the tree in step with the current module after an undo restored its instances.
  void SyncAfterUndo(const std::map<int, ModuleInstance>& oldInstances);

  // Calls `visit` on every node, depth first from the root, children in ascending number.
  void ForEachNode(const std::function<void(RuntimeInstance&)>& visit);
  // The tree item the next node will get: every node made from now on has this one or a later.
  TreeItem nextTreeItem() const { return nextTreeItem_; }
  // Creates a tree node with a fresh tree item.
  std::unique_ptr<RuntimeInstance> NewNode(const std::string& name, RuntimeInstance* parent,
                                           int instanceNumber);

  RuntimeInstance& rootInstance() { return *rootInstance_; }
  const RuntimeInstance& rootInstance() const { return *rootInstance_; }
  RuntimeInstance& currentInstance() { return *currentInstance_; }
  const RuntimeInstance& currentInstance() const { return *currentInstance_; }
  Module& currentModule() { return *currentModule_; }
  const Module& currentModule() const { return *currentModule_; }
  const std::map<std::string, int>& moduleNumbers() const { return moduleNumbers_; }
  const std::map<int, Module>& modules() const { return modules_; }
  OutputLog& log() { return log_; }

  Module clipboard;

 private:
  void MoveTo(RuntimeInstance& node);
  void SetInstanceFlag(const std::string& moduleName, bool ModuleInstance::*flag, bool value);

  OutputLog& log_;
  std::map<int, Module> modules_;
  std::map<std::string, int> moduleNumbers_;
  std::unique_ptr<RuntimeInstance> rootInstance_;
  RuntimeInstance* currentInstance_ = nullptr;
  Module* currentModule_ = nullptr;
  TreeItem nextTreeItem_ = 1;
  bool keepsEditHistory_ = true;
};

}  // namespace pelkor
