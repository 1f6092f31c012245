// SPDX-License-Identifier: GPL-3.0-or-later
// Creating and deleting module instances while the simulation runs, and ending the runtime.
#include <new>

#include "base/errors.h"
#include "sim/compile.h"
#include "sim/simulation_condition.h"
#include "sim/step_parts.h"

namespace pelkor {

namespace {

// Grows the tree below `node` from the module definitions, as loading does.
void BuildSubtree(ModuleLibrary& library, RuntimeInstance& node) {
  const Module& module = library.ModuleByName(node.name);
  for (const auto& [id, instance] : module.instances) {
    if (instance.moduleName.empty() || node.children.contains(id))
      continue;
    if (RuntimeInstance* child = library.ExpandInstance(id, instance.moduleName, node)) {
      BuildSubtree(library, *child);
    }
  }
}

// The node that instance `id` of `node` creates: the one the tree holds, or a new one for an
// instance that would repeat an enclosing module.
RuntimeInstance& ChildToCreate(ModuleLibrary& library, RuntimeInstance& node, int id,
                               const std::string& moduleName) {
  auto it = node.children.find(id);
  if (it == node.children.end()) {
    std::unique_ptr<RuntimeInstance>& slot = node.children[id];
    slot = library.NewNode(moduleName, &node, id);
    slot->dynamic = true;
    it = node.children.find(id);
  }
  RuntimeInstance& child = *it->second;
  if (child.children.empty())
    BuildSubtree(library, child);
  return child;
}

// A created subtree starts afresh: nothing below it stays deleted from an earlier life.
void ClearDeleted(RuntimeInstance& node) {
  node.deleted = false;
  for (auto& [id, child] : node.children)
    ClearDeleted(*child);
}

bool BuildChild(ModuleLibrary& library, RunNodes& nodes, int instanceId, InstanceBuilder& builder,
                RuntimeInstance& child, std::vector<RuntimeInstance*>& realised) {
  ClearDeleted(child);
  UnprepareSubtree(nodes, child);
  nodes.Prepare(child, library.ModuleByName(child.name));
  if (!nodes.IsPrepared(child))
    return false;
  for (auto& [id, grandchild] : child.children)
    PrepareNets(library, nodes, *grandchild);
  std::vector<RuntimeInstance*> compiled;
  if (builder.Compile(child, compiled) != nullptr)
    return false;
  if (!builder.WirePorts(child)) {
    library.log().Write("モジュールコンパイルエラー%d", instanceId);
    return false;
  }
  realised.insert(realised.end(), compiled.begin(), compiled.end());
  return true;
}

// Marks every descendant not yet deleted, depth first; a dynamic host without contents stops
// the deletion.
void MarkDescendantsDeleted(const RunNodes& nodes, RuntimeInstance& node) {
  for (auto& [id, descendant] : node.children) {
    if (descendant->deleted)
      continue;
    if (descendant->dynamicHost && !nodes.IsPrepared(*descendant)) {
      throw SimulationCondition(kLowerModuleNotDeleted);
    }
    descendant->deleted = true;
    MarkDescendantsDeleted(nodes, *descendant);
  }
}

void ForgetRunState(RuntimeInstance& node) {
  node.deleted = false;
  node.children.EraseIf([](const auto& entry) { return entry.second->dynamic; });
  for (auto& [id, child] : node.children)
    ForgetRunState(*child);
}

}  // namespace

bool RealiseCreation(ModuleLibrary& library, RunNodes& nodes, RuntimeInstance& node, int instanceId,
                     const std::string& moduleName, InstanceBuilder& builder,
                     std::vector<RuntimeInstance*>& realised, const StepHooks& hooks) {
  RuntimeInstance* child = nullptr;
  try {
    child = &ChildToCreate(library, node, instanceId, moduleName);
    if (BuildChild(library, nodes, instanceId, builder, *child, realised))
      return true;
  } catch (const MessageError& e) {
    library.log().WriteText(e.what());
  } catch (const std::bad_alloc&) {
    library.log().WriteText("エラー来たー");
  }
  if (child != nullptr)
    UnprepareSubtree(nodes, *child);
  builder.Abandon();
  if (hooks.creationFailed)
    hooks.creationFailed();
  return false;
}

void DeleteInstance(ModuleLibrary& library, RunNodes& nodes, RuntimeInstance& child) {
  if (child.deleted)
    throw SimulationCondition(kDeletedTwice);
  child.deleted = true;
  MarkDescendantsDeleted(nodes, child);
  if (!nodes.IsPrepared(child))
    throw SimulationCondition(kInputBeforeNew);
  library.log().Write("%sをdelete", child.name);
  UnprepareSubtree(nodes, child);
}

void DisconnectInner(ModuleInstanceRuntime& instance) {
  for (PortConnection& connection : instance.inputs)
    connection.inner = nullptr;
  for (PortConnection& connection : instance.outputs)
    connection.inner = nullptr;
}

void UnprepareSubtree(RunNodes& nodes, RuntimeInstance& node) {
  nodes.Unprepare(node);
  for (auto& [id, child] : node.children)
    UnprepareSubtree(nodes, *child);
}

void ResetRuntime(ModuleLibrary& library) {
  library.LeaveRuntime();
  ForgetRunState(library.rootInstance());
}

}  // namespace pelkor
