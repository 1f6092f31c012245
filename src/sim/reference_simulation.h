// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/module_library.h"
#include "sim/net_runtime.h"
#include "sim/run_nodes.h"
#include "sim/step.h"

namespace pelkor {

// The reference engine, which the tests hold the workspace's engine (sim/simulation.h) to: every
// node gets a working copy of its module and run-time records compiled from it, kept here by
// node, and each step visits every primitive of every live node through those records.
class ReferenceSimulation : public RunNodes {
 public:
  explicit ReferenceSimulation(ModuleLibrary& library);
  ~ReferenceSimulation();
  ReferenceSimulation(const ReferenceSimulation&) = delete;
  ReferenceSimulation& operator=(const ReferenceSimulation&) = delete;

  // The check: a working copy and run-time records for every node of the tree, compiled from the
  // root, and the schedule. Writes its messages to the library's log ("era-" when preparing the
  // nodes fails, after which it still compiles what was prepared).
  CheckOutcome Check();
  // One simulation step over the schedule, in its eight phases. Sets `activity` to 1 when
  // anything moved or is ready to move; the caller clears it before. Throws SimulationCondition
  // (100, 101, 102) and MessageError ("モジュールがありません"); the tokens moved before stay
  // moved.
  void Step(StepActivity& activity, const StepHooks& hooks = {});
  // Ends the simulation (ResetRuntime) and destroys every working copy and record.
  void End();

  // A prepared node has a working copy.
  bool IsPrepared(const RuntimeInstance& node) const override;
  void Prepare(RuntimeInstance& node, const Module& module) override;
  void Unprepare(RuntimeInstance& node) override;

  // A node's working copy and records; nullptr when it has none.
  const Module* Net(const RuntimeInstance& node) const;
  NetRuntime* Runtime(const RuntimeInstance& node);
  const NetRuntime* Runtime(const RuntimeInstance& node) const;
  // The nodes in the order every phase visits them, each once.
  const std::vector<RuntimeInstance*>& schedule() const { return schedule_; }

 private:
  struct Form {
    std::unique_ptr<Module> net;
    std::unique_ptr<NetRuntime> runtime;
  };
  class Builder;

  // The check (check.cpp, compile_ports.cpp).
  RuntimeInstance* Compile(RuntimeInstance& node, std::vector<RuntimeInstance*>& compiled);
  bool CompileInstance(RuntimeInstance& node, int id, const ModuleInstance& instance,
                       ModuleInstanceRuntime& compiled);
  bool WirePorts(RuntimeInstance& parent, ModuleInstanceRuntime& instance, RuntimeInstance& child);
  // Lists the nodes in the schedule, each once: a node listed before keeps its place.
  void AppendToSchedule(std::span<RuntimeInstance* const> nodes);

  // Phase 2 (instance_phase.cpp).
  void MoveAcrossBoundaries(StepActivity& activity, const StepHooks& hooks);
  void MoveNodeTokens(RuntimeInstance& node, NetRuntime& runtime, StepActivity& activity,
                      const StepHooks& hooks, std::vector<RuntimeInstance*>& realised);
  void DeleteByToken(RuntimeInstance& node, ModuleInstanceRuntime& instance,
                     const StepHooks& hooks);

  ModuleLibrary& library_;
  std::unordered_map<const RuntimeInstance*, Form> forms_;
  std::vector<RuntimeInstance*> schedule_;
  std::unordered_set<const RuntimeInstance*> scheduled_;
};

}  // namespace pelkor
