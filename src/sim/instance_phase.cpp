// SPDX-License-Identifier: GPL-3.0-or-later
// Phase 2: tokens across module boundaries, and the "new" and "delete" arcs.
#include <algorithm>

#include "sim/compile.h"
#include "sim/reference_simulation.h"
#include "sim/simulation_condition.h"
#include "sim/step_parts.h"

namespace pelkor {

// Creation with the reference records: a working copy and its records for every node.
class ReferenceSimulation::Builder : public InstanceBuilder {
 public:
  Builder(ReferenceSimulation& reference, RuntimeInstance& node, ModuleInstanceRuntime& instance)
      : reference_(reference), node_(node), instance_(instance) {}

  RuntimeInstance* Compile(RuntimeInstance& node,
                           std::vector<RuntimeInstance*>& compiled) override {
    return reference_.Compile(node, compiled);
  }
  bool WirePorts(RuntimeInstance& child) override {
    return reference_.WirePorts(node_, instance_, child);
  }
  void Abandon() override {
    DisconnectInner(instance_);
    instance_.absent = true;
    instance_.created = false;
  }

 private:
  ReferenceSimulation& reference_;
  RuntimeInstance& node_;
  ModuleInstanceRuntime& instance_;
};

namespace {

// What the module instances of one node did in this phase.
struct Reconfiguration {
  bool needed = false;
  std::vector<ModuleInstanceRuntime*> creations;  // marked created, contents not yet built
};

// An instance that a "new" token marked in this pass is built only after the pass: until then
// there is nothing to delete, and a "delete" token waits like any other input.
bool IsPending(const Reconfiguration& reconfiguration, const ModuleInstanceRuntime& instance) {
  return std::find(reconfiguration.creations.begin(), reconfiguration.creations.end(), &instance) !=
         reconfiguration.creations.end();
}

// One instance's tokens; `deleteByToken` deletes its contents.
template <typename DeleteByToken>
void MoveInstanceTokens(ModuleInstanceRuntime& instance, StepActivity& activity,
                        Reconfiguration& reconfiguration, DeleteByToken deleteByToken) {
  const ModuleInstance& record = *instance.record;
  if (!instance.absent) {
    for (PortConnection& connection : instance.outputs) {
      if (connection.inner == nullptr || !connection.inner->HasToken() ||
          !connection.outer->CanAccept()) {
        continue;
      }
      connection.outer->Put(connection.inner->Take());
      activity = 1;
    }
  }
  for (PortConnection& connection : instance.inputs) {
    if (!connection.outer->HasToken())
      continue;
    const bool innerAccepts = connection.inner != nullptr && connection.inner->CanAccept();
    if (!record.hasNewArc) {
      if (!innerAccepts)
        continue;
      connection.inner->Put(connection.outer->Take());
      activity = 1;
    } else if (!instance.created) {
      if (connection.outer != instance.newArcRegister)
        throw SimulationCondition(kInputBeforeNew);
      // The "new" token stays: once the instance exists it travels in like any other input.
      reconfiguration.creations.push_back(&instance);
      reconfiguration.needed = true;
      instance.absent = false;
      instance.created = true;
      activity = 1;
    } else if (record.hasDeleteArc && connection.outer == instance.deleteArcRegister &&
               !IsPending(reconfiguration, instance)) {
      deleteByToken();
      instance.created = false;
      reconfiguration.needed = true;
      instance.absent = true;
      connection.outer->Take();  // the "delete" token is used up
      activity = 1;
    } else {
      if (innerAccepts)
        connection.inner->Put(connection.outer->Take());
      activity = 1;
    }
  }
}

}  // namespace

void ReferenceSimulation::DeleteByToken(RuntimeInstance& node, ModuleInstanceRuntime& instance,
                                        const StepHooks& hooks) {
  RuntimeInstance& child = node.Child(instance.id);
  library_.InstanceDeleted(child.treeItem);
  if (hooks.instanceDeleting)
    hooks.instanceDeleting(child);
  DeleteInstance(library_, *this, child);
  DisconnectInner(instance);
}

// The instances of one node, then its reconfiguration.
void ReferenceSimulation::MoveNodeTokens(RuntimeInstance& node, NetRuntime& runtime,
                                         StepActivity& activity, const StepHooks& hooks,
                                         std::vector<RuntimeInstance*>& realised) {
  Reconfiguration reconfiguration;
  try {
    for (ModuleInstanceRuntime& instance : runtime.instances) {
      MoveInstanceTokens(instance, activity, reconfiguration,
                         [&] { DeleteByToken(node, instance, hooks); });
    }
  } catch (...) {
    // Instances marked for creation are never built now: they stay as before the "new".
    for (ModuleInstanceRuntime* instance : reconfiguration.creations) {
      instance->absent = true;
      instance->created = false;
    }
    if (reconfiguration.needed && hooks.treeChanged)
      hooks.treeChanged();
    throw;
  }
  if (!reconfiguration.needed)
    return;
  library_.log().WriteText("再構成");
  for (ModuleInstanceRuntime* instance : reconfiguration.creations) {
    Builder builder(*this, node, *instance);
    const std::size_t before = realised.size();
    if (RealiseCreation(library_, *this, node, instance->id, instance->record->moduleName, builder,
                        realised, hooks)) {
      AppendToSchedule(std::span(realised).subspan(before));
    }
  }
  if (hooks.treeChanged)
    hooks.treeChanged();
}

// Nodes realised here join the schedule at once, so that a condition raised later in the
// phase cannot lose them; they act from phase 3 on, as if appended after the phase.
void ReferenceSimulation::MoveAcrossBoundaries(StepActivity& activity, const StepHooks& hooks) {
  std::vector<RuntimeInstance*> realised;
  try {
    for (std::size_t i = 0, count = schedule_.size(); i < count; ++i) {
      RuntimeInstance* node = schedule_[i];
      NetRuntime* runtime = Runtime(*node);
      if (node->deleted || runtime == nullptr || runtime->instances.empty())
        continue;
      if (std::find(realised.begin(), realised.end(), node) != realised.end())
        continue;
      MoveNodeTokens(*node, *runtime, activity, hooks, realised);
    }
  } catch (const SimulationCondition&) {
    library_.log().WriteText("モジュールでエラー");
    throw;
  }
}

}  // namespace pelkor
