// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The inside of the workspace's simulation engine (sim/simulation.h).
//
// Every node's run-time state lies in flat arrays, one per kind, in schedule order: a node's
// registers, sinks, sources, counters, machines and instances are one block of each array, the
// block it got when it was first compiled; a node created again by "new" gets the same blocks
// back, and a node created for the first time gets new ones at the end, as it joins the
// schedule at its end. So walking an array in ascending order is walking the schedule.
//
// A phase does not walk a whole array: it visits the members of its activity set, the items
// that may act. An item leaves the set when it is visited and comes back when a register it
// looks at changes (its watchers, by module program), when it acted, or when its node is
// created; the items that nothing can move stay out until then, and their state is the state
// a visit would have left.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "model/module_library.h"
#include "sim/activity_set.h"
#include "sim/compile.h"
#include "sim/engine_checkpoint.h"
#include "sim/module_program.h"
#include "sim/name_table.h"
#include "sim/node_table.h"
#include "sim/run_nodes.h"
#include "sim/step.h"
#include "sim/token.h"

namespace pelkor {

class Engine : public RunNodes {
 public:
  explicit Engine(ModuleLibrary& library) : library_(library) {}

  CheckOutcome Check();
  void Step(StepActivity& activity, const StepHooks& hooks);
  void Clear();

  // A prepared node has its module's program, compiled or still to be compiled; the engine
  // copies nothing of the module beyond what its program needs.
  bool IsPrepared(const RuntimeInstance& node) const override;
  void Prepare(RuntimeInstance& node, const Module& module) override;
  void Unprepare(RuntimeInstance& node) override;

  // The node's number, or kNoIndex for a node that was never prepared.
  std::uint32_t NodeOf(const RuntimeInstance& node) const;
  // Whether the node's blocks hold the state of its present preparation, as compiled.
  bool HasState(std::uint32_t node) const { return compiled_[node] != 0; }
  // The nodes that got blocks, in the order they got them: the schedule.
  std::vector<const RuntimeInstance*> Schedule() const;

  // Registers of up to this many cells keep them in their slot.
  static constexpr std::uint32_t kSlotCells = 8;
  struct RegisterSlot {
    // The cells of a short register, or where a long one's start in `cells_`; the exit is
    // `last` cells after the entry.
    std::uint64_t place = 0;
    std::uint32_t last = 0;
    std::uint8_t written = 0;   // entryWritten
    std::uint8_t boundary = 0;  // the node's parent instance may be wired to it
  };
  struct SinkItem {
    std::uint32_t node = 0;
    std::uint32_t input = kNoIndex;     // kNoIndex also for a boundary output, which never acts
    std::uint32_t received = kNoIndex;  // its list in `received_`
  };
  // A large design has a hundred thousand of each of the items below: their flags share a word
  // with a number that never needs all its bits.
  struct SourceItem {
    std::uint32_t node = 0;
    std::uint32_t output = kNoIndex;  // kNoIndex also for a boundary input, which never acts
    std::uint32_t emitted = 0;
    std::uint32_t queueLength : 31 = 0;  // below kQueueLimit
    std::uint32_t holdValue : 1 = 0;
    const std::uint8_t* queue = nullptr;
  };
  static constexpr std::uint32_t kQueueLimit = std::uint32_t{1} << 31;
  struct CounterItem {
    std::uint32_t node : 31 = 0;
    std::uint32_t ready : 1 = 0;
    std::uint32_t registers = 0;  // the node's first register
    const CounterProgram* program = nullptr;
    int remaining = 0;
  };
  struct MachineItem {
    std::uint32_t node : 31 = 0;
    std::uint32_t ready : 1 = 0;
    std::uint32_t registers = 0;
    const MachineProgram* program = nullptr;
    std::uint32_t current = 0;  // the state tested and fired, by its place in the program
    int currentNumber = 0;
  };
  struct Connection {
    std::uint32_t outer = 0;
    std::uint32_t inner = kNoIndex;  // kNoIndex while the instance has no live contents
  };
  // The registers of its arcs named "new" and "delete", which few instances have, are found
  // through the node's program.
  struct InstanceItem {
    std::uint32_t node = 0;
    std::uint32_t local = 0;        // its place among the instances of the node's module
    std::uint32_t connections = 0;  // inputs, then outputs, in `connections_`
    std::uint32_t inputCount = 0;
    std::uint32_t outputCount = 0;
    bool hasNewArc = false;
    bool hasDeleteArc = false;
    bool absent = false;
    bool created = false;
  };
  // Every node prepared once has a record; it gets its blocks when it is first compiled.
  struct NodeRecord {
    RuntimeInstance* tree = nullptr;
    std::uint32_t program = kNoIndex;  // its number in programs(); kNoIndex while it has no blocks
    // The first register, and the first item of each kind, that belong to the node.
    std::uint32_t registers = 0;
    std::array<std::uint32_t, kItemKinds> first{};
    std::uint32_t parentItem = kNoIndex;  // the parent's instance wired to this node's ports
  };

  const std::vector<NodeRecord>& nodes() const { return nodes_; }
  const ModuleProgram& ProgramOf(const NodeRecord& node) const { return *programs_[node.program]; }
  const RegisterSlot& registerSlot(std::uint32_t r) const { return registers_[r]; }
  const std::uint8_t* Cells(std::uint32_t r) const {
    const RegisterSlot& slot = registers_[r];
    return slot.last < kSlotCells ? reinterpret_cast<const std::uint8_t*>(&slot.place)
                                  : cells_.data() + slot.place;
  }
  const SinkItem& sink(std::uint32_t i) const { return sinks_[i]; }
  const std::vector<std::uint8_t>& received(std::uint32_t list) const { return received_[list]; }
  std::vector<std::uint8_t>& received(std::uint32_t list) { return received_[list]; }
  const SourceItem& source(std::uint32_t i) const { return sources_[i]; }
  const CounterItem& counter(std::uint32_t i) const { return counters_[i]; }
  const MachineItem& machine(std::uint32_t i) const { return machines_[i]; }
  const InstanceItem& instance(std::uint32_t i) const { return instances_[i]; }
  const Connection& connection(std::uint32_t c) const { return connections_[c]; }
  const NameTable& names() const { return names_; }
  // The arc the state's selection chooses on the exit values, which it leaves in place; nullptr
  // when none is chosen. `results` has room for ModuleProgram::resultRoom results.
  const StateArcTarget* ChosenArc(const StateProgram& state, std::uint32_t registers,
                                  int* results) const;
  // The sinks whose received list changed since the last step began: each took a value or was
  // emptied by its node's creation. A sink may be listed twice.
  const std::vector<std::uint32_t>& changedSinks() const { return changedSinks_; }

  // Source `i` emits `values` from the first on, in place of what it had left (engine_script.cpp).
  void ReplaceQueue(std::uint32_t i, std::vector<std::uint8_t> values);

  // The state at the end of this step, sharing unchanged pages with `previous` when given
  // (engine_checkpoint.cpp); and back to such a state, taken in this run since its check.
  EngineCheckpoint Capture(const EngineCheckpoint* previous) const;
  void Restore(const EngineCheckpoint& checkpoint);

  // The registers whose exit the steps watch for an arriving token (engine_exit_watch.cpp), in
  // place of those watched before; a step that watches none does no more than before.
  void WatchExits(std::vector<std::uint32_t> registers);
  // Whether a token arrived at the exit of watched register `r` in the last step.
  bool ExitReached(std::uint32_t r) const;

 private:
  class Builder;
  // Where a module stands in its compile: the module-level stages run at its first node, in the
  // order the check runs them there, reading the module's design; a ready module's program has
  // all the engine needs of it.
  struct ModuleEntry {
    enum class Stage { kOpened, kMachinesCompiled, kReady };
    Stage stage = Stage::kOpened;
    std::unique_ptr<NetRuntime> compiled;                    // until the program is complete
    std::map<std::uint32_t, DynamicInputPlan> dynamicPlans;  // by instance place
    std::unique_ptr<ModuleProgram> program;
  };
  using Mark = EngineLengths;
  // What the instances of one node did in phase 2.
  struct Reconfiguration {
    bool needed = false;
    std::vector<std::uint32_t> creations;  // instance items marked created, not yet built
  };

  // Register operations, as those of the reference records, telling the watchers.
  std::uint8_t* WritableCells(std::uint32_t r) {
    return const_cast<std::uint8_t*>(std::as_const(*this).Cells(r));
  }
  bool HasToken(std::uint32_t r) const { return ExitValue(r) != EMPTY; }
  bool CanAccept(std::uint32_t r) const { return Cells(r)[0] == EMPTY; }
  Token ExitValue(std::uint32_t r) const { return Cells(r)[registers_[r].last]; }
  Token Take(std::uint32_t r) {
    std::uint8_t& exit = WritableCells(r)[registers_[r].last];
    const Token value = exit;
    exit = static_cast<std::uint8_t>(EMPTY);
    Touch(r);
    return value;
  }
  void ClearExit(std::uint32_t r) { Take(r); }
  bool Put(std::uint32_t r, Token value) {
    RegisterSlot& slot = registers_[r];
    if (slot.written != 0)
      return false;
    WritableCells(r)[0] = static_cast<std::uint8_t>(value);
    slot.written = 1;
    if (slot.last == 0)
      writtenSingles_.push_back(r);
    Touch(r);
    return true;
  }
  // The register changed: its watchers look again, and one of several cells advances in the
  // next phase 5 (a single cell has only its entryWritten cleared there).
  void Touch(std::uint32_t r);
  bool Live(std::uint32_t node) const { return live_[node] != 0; }

  // Building (engine_build.cpp).
  // The entry of the node's module, opened from its design when there is none.
  ModuleEntry& EntryOf(const RuntimeInstance& node);
  void Open(ModuleEntry& entry, const Module& design);
  // Appends the nodes it compiles to `compiled` unless that is nullptr.
  RuntimeInstance* CompileNode(RuntimeInstance& node, std::vector<RuntimeInstance*>* compiled);
  // Plans the wiring of the instance at place `instance` of `parent` to `child`.
  bool PlanPorts(const ModuleProgram& parent, std::size_t instance, const RuntimeInstance& child,
                 PortPlan& plan);
  // Whether the parent's instance of `node` has an arc named `name` into (or out of) it.
  bool ParentHasPortArc(const RuntimeInstance& node, std::uint32_t name, bool into);
  // The port wiring planned for the instances of one node before its children are compiled, and
  // applied when the node is instantiated: for each arc at the module's instances, as
  // ModuleProgram::instanceArcs lists them, the inner register's number in its child's program.
  // One array for all, as a module may have thousands of instances.
  struct NodePorts {
    std::vector<std::uint8_t> planned;  // by instance place
    std::vector<std::uint32_t> inner;   // by arc

    void Clear(const ModuleProgram& program);
    // The plan of the instance at place `i`, whose child runs `child`.
    void Set(const ModuleProgram& program, std::size_t i, const PortPlan& plan,
             const ModuleProgram& child);
    std::span<const std::uint32_t> InnerOf(const ModuleProgram& program, std::size_t i) const;
  };
  bool CompileModule(ModuleEntry& entry, RuntimeInstance& node, NodePorts& ports);
  void Instantiate(RuntimeInstance& node, const ModuleProgram& program, const NodePorts& ports);
  // The record of `node`, made when it has none.
  std::uint32_t RecordOf(RuntimeInstance& node);
  // Gives record `n` its blocks at the end of every array.
  void AppendBlocks(std::uint32_t n, const ModuleProgram& program);
  void CountNodes(const RuntimeInstance& node, std::size_t& count) const;
  // Wires instance `item` to node `child`: `inner` holds the inner register of each of its arcs,
  // in its program's order.
  void Connect(std::uint32_t item, std::span<const std::uint32_t> inner, std::uint32_t child);
  void Disconnect(std::uint32_t item);
  void ArmNode(std::uint32_t node);
  void RefreshLive(const RuntimeInstance& node);
  void ForgetStates(const RuntimeInstance& node);
  void CountNodesToBuild(const RuntimeInstance& node);
  // Room for `count` more nodes of a module, one of them the root when `includesRoot`.
  void ReserveNodes(const ModuleProgram& program, std::size_t count, bool includesRoot);
  void Fit();
  Mark MarkSizes() const;
  void ForgetAfter(const Mark& mark);
  void RestoreTree(TreeItem next, const std::vector<const RuntimeInstance*>& deleted);

  // Phase 2 (engine_boundaries.cpp).
  void MoveAcrossBoundaries(StepActivity& activity, const StepHooks& hooks);
  bool MoveInstanceTokens(std::uint32_t item, StepActivity& activity, const StepHooks& hooks);
  void DeleteByToken(std::uint32_t item, const StepHooks& hooks);
  // The register of the instance's arc named "new" (or "delete"), or kNoIndex.
  std::uint32_t DynamicArc(const InstanceItem& item, std::uint32_t DynamicProgram::*arc) const;
  void Reconfigure(std::uint32_t node, const StepHooks& hooks);
  void AbandonCreations(const StepHooks& hooks);

  // The other phases (engine_phases.cpp, engine_machines.cpp).
  void ConsumeAtSinks(StepActivity& activity);
  void FireMachines(StepActivity& activity);
  void FireCounters(StepActivity& activity);
  void AdvanceRegisters(StepActivity& activity);
  void EmitAtSources(StepActivity& activity);
  void DecideMachineReadiness(StepActivity& activity);
  void DecideCounterReadiness(StepActivity& activity);
  void FireMachine(MachineItem& machine);
  const StateArcTarget* FireState(const StateProgram& state, std::uint32_t registers);
  const StateArcTarget* SelectArc(const StateProgram& state, std::uint32_t registers);
  bool IsEnabled(const StateProgram& state, std::uint32_t registers) const;
  bool IsMachineReady(MachineItem& machine);
  int ReadExits(const std::vector<std::uint32_t>& inputs, std::uint32_t registers,
                int* values) const;

  ModuleLibrary& library_;
  NodeTable nodeTable_;
  std::vector<const ModuleProgram*> programs_;  // the complete ones, by ModuleProgram::number
  NameTable names_;
  std::map<std::string, ModuleEntry> modules_;
  // While a check runs: by module, the nodes that will get blocks once its program is made.
  std::map<std::string, std::size_t> nodesToBuild_;
  std::vector<NodeRecord> nodes_;
  std::vector<std::uint32_t> schedule_;  // the nodes with blocks, in the order they got them
  std::vector<std::uint8_t> prepared_;   // by node
  // By node: its blocks hold the state compiled for its present working copy...
  std::vector<std::uint8_t> compiled_;
  // ...and it is not deleted: it acts.
  std::vector<std::uint8_t> live_;
  std::vector<std::uint8_t> skipping_;  // by node: realised in this phase 2, which passes it

  std::vector<RegisterSlot> registers_;
  std::vector<std::uint32_t> registerNode_;
  // Who looks at register r: watchers_ [watchStarts_[r], watchStarts_[r + 1]), each an item's
  // kind times kItemLimit plus its number.
  std::vector<std::uint32_t> watchStarts_{0};
  std::vector<std::uint32_t> watchers_;
  std::vector<std::uint8_t> cells_;  // of the long registers
  std::vector<SinkItem> sinks_;
  std::vector<SourceItem> sources_;
  std::vector<CounterItem> counters_;
  std::vector<MachineItem> machines_;
  std::vector<InstanceItem> instances_;
  std::vector<Connection> connections_;
  std::vector<std::vector<std::uint8_t>> received_;
  // The queues that replaced what sources had left, by source item.
  std::map<std::uint32_t, std::vector<std::uint8_t>> replacedQueues_;

  ActivitySet registerSet_;
  std::vector<std::uint32_t> writtenSingles_;  // one-cell registers put into since phase 5
  std::array<ActivitySet, kItemKinds> sets_;   // by kind
  std::vector<std::uint32_t> changedSinks_;
  std::vector<std::uint32_t> readyMachines_;  // found ready in phase 7, in order
  std::vector<std::uint32_t> readyCounters_;  // found ready in phase 8, in order
  // Counts the steps that made or deleted nodes, so that a checkpoint knows the tree unchanged.
  std::uint64_t treeChanges_ = 0;

  // A watched exit through a step: `mark` holds what the last moment saw, `reached` whether a
  // token arrived.
  struct WatchedExit {
    std::uint32_t r = 0;
    bool mark = false;
    bool reached = false;
  };
  enum class StepMoment { kStart, kBeforeAdvance, kAfterAdvance, kAfterEmit };
  void NoteExits(StepMoment moment);
  std::vector<WatchedExit> watchedExits_;  // ascending register

  // Phase 2's lists, kept to be reused.
  Reconfiguration reconfiguration_;
  std::vector<RuntimeInstance*> realised_;
  std::vector<std::uint32_t> skipped_;
  std::vector<int> results_;  // evaluation results, room for the largest program
};

}  // namespace pelkor
