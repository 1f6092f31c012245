// SPDX-License-Identifier: GPL-3.0-or-later
// Phase 2 in the engine: tokens across module boundaries, "new" and "delete".
#include <algorithm>

#include "sim/engine.h"
#include "sim/simulation_condition.h"
#include "sim/step_parts.h"

namespace pelkor {

// Visits the instances that may act, node by node in schedule order; each node's creations are
// realised once its instances are done. Nodes realised in this phase, already in the schedule,
// are passed, and those appended lie beyond the instances the phase began with.
void Engine::MoveAcrossBoundaries(StepActivity& activity, const StepHooks& hooks) {
  const std::size_t end = instances_.size();
  realised_.clear();
  std::uint32_t current = kNoIndex;
  try {
    for (std::size_t i = sets_[kInstanceItems].Next(0, end); i < end;
         i = sets_[kInstanceItems].Next(i + 1, end)) {
      const std::uint32_t n = instances_[i].node;
      if (n != current) {
        if (current != kNoIndex)
          Reconfigure(current, hooks);
        current = n;
      }
      if (skipping_[n] != 0)
        continue;
      sets_[kInstanceItems].Erase(i);
      if (!Live(n))
        continue;
      const auto item = static_cast<std::uint32_t>(i);
      bool acted;
      try {
        acted = MoveInstanceTokens(item, activity, hooks);
      } catch (...) {
        sets_[kInstanceItems].Insert(item);
        AbandonCreations(hooks);
        throw;
      }
      if (acted)
        sets_[kInstanceItems].Insert(item);
    }
    if (current != kNoIndex)
      Reconfigure(current, hooks);
  } catch (const SimulationCondition&) {
    for (const std::uint32_t n : skipped_)
      skipping_[n] = 0;
    skipped_.clear();
    library_.log().WriteText("モジュールでエラー");
    throw;
  } catch (...) {
    for (const std::uint32_t n : skipped_)
      skipping_[n] = 0;
    skipped_.clear();
    throw;
  }
  for (const std::uint32_t n : skipped_)
    skipping_[n] = 0;
  skipped_.clear();
}

// Instances marked for creation are never built now: they stay as before the "new".
void Engine::AbandonCreations(const StepHooks& hooks) {
  for (const std::uint32_t itemIndex : reconfiguration_.creations) {
    InstanceItem& item = instances_[itemIndex];
    item.absent = true;
    item.created = false;
    sets_[kInstanceItems].Insert(itemIndex);
  }
  const bool needed = reconfiguration_.needed;
  reconfiguration_.needed = false;
  reconfiguration_.creations.clear();
  if (needed && hooks.treeChanged)
    hooks.treeChanged();
}

// One module instance; returns whether it acted (and set activity), so that it is visited again.
bool Engine::MoveInstanceTokens(std::uint32_t itemIndex, StepActivity& activity,
                                const StepHooks& hooks) {
  bool acted = false;
  const InstanceItem& item = instances_[itemIndex];
  const Connection* connections = connections_.data() + item.connections;
  if (!item.absent) {
    for (std::uint32_t k = item.inputCount; k < item.inputCount + item.outputCount; ++k) {
      const Connection& connection = connections[k];
      if (connection.inner == kNoIndex || !HasToken(connection.inner) ||
          !CanAccept(connection.outer)) {
        continue;
      }
      Put(connection.outer, Take(connection.inner));
      acted = true;
      activity = 1;
    }
  }
  const bool hasNewArc = item.hasNewArc;
  const bool hasDeleteArc = item.hasDeleteArc;
  for (std::uint32_t k = 0; k < item.inputCount; ++k) {
    const Connection connection = connections_[item.connections + k];
    if (!HasToken(connection.outer))
      continue;
    const bool innerAccepts = connection.inner != kNoIndex && CanAccept(connection.inner);
    InstanceItem& instance = instances_[itemIndex];
    if (!hasNewArc) {
      if (!innerAccepts)
        continue;
      Put(connection.inner, Take(connection.outer));
    } else if (!instance.created) {
      if (connection.outer != DynamicArc(instance, &DynamicProgram::newArc))
        throw SimulationCondition(kInputBeforeNew);
      // The "new" token stays: once the instance exists it travels in like any other input.
      reconfiguration_.creations.push_back(itemIndex);
      reconfiguration_.needed = true;
      instance.absent = false;
      instance.created = true;
    } else if (hasDeleteArc &&
               connection.outer == DynamicArc(instance, &DynamicProgram::deleteArc) &&
               std::find(reconfiguration_.creations.begin(), reconfiguration_.creations.end(),
                         itemIndex) == reconfiguration_.creations.end()) {
      // An instance marked in this pass is built only after it: until then a "delete" waits.
      DeleteByToken(itemIndex, hooks);
      InstanceItem& deleted = instances_[itemIndex];
      deleted.created = false;
      reconfiguration_.needed = true;
      deleted.absent = true;
      Take(connection.outer);  // the "delete" token is used up
    } else if (innerAccepts) {
      Put(connection.inner, Take(connection.outer));
    }
    acted = true;
    activity = 1;
  }
  return acted;
}

std::uint32_t Engine::DynamicArc(const InstanceItem& item,
                                 std::uint32_t DynamicProgram::*arc) const {
  const NodeRecord& node = nodes_[item.node];
  const std::uint32_t local = ProgramOf(node).DynamicOf(item.local).*arc;
  return local == kNoIndex ? kNoIndex : node.registers + local;
}

void Engine::DeleteByToken(std::uint32_t itemIndex, const StepHooks& hooks) {
  const InstanceItem& item = instances_[itemIndex];
  const NodeRecord& node = nodes_[item.node];
  RuntimeInstance& child = node.tree->Child(ProgramOf(node).instances[item.local].id);
  ++treeChanges_;
  library_.InstanceDeleted(child.treeItem);
  if (hooks.instanceDeleting)
    hooks.instanceDeleting(child);
  try {
    DeleteInstance(library_, *this, child);
  } catch (...) {
    RefreshLive(child);
    throw;
  }
  RefreshLive(child);
  Disconnect(itemIndex);
}

}  // namespace pelkor
