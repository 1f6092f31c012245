// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "model/module_library.h"
#include "sim/blocked_object.h"
#include "sim/engine_checkpoint.h"
#include "sim/step.h"
#include "sim/token.h"

namespace pelkor {

class Engine;

// The run-time state of a source: its whole queue and how many values have left it (a held
// value never leaves, as `holdValue` says), and the register it emits into, if any.
struct SourceRunState {
  std::span<const std::uint8_t> queue;
  std::size_t emitted = 0;
  std::optional<int> outputRegister;
  bool holdValue = false;
};

struct CounterRunState {
  int remaining = 0;
  bool ready = false;
};

struct MachineRunState {
  int currentNumber = 0;  // 0 after a firing that chose no arc
  int currentState = 0;   // the number of the state that is tested and fired
  bool ready = false;
};

// A sink of a node, by the primitive's ID.
struct SinkOfNode {
  const RuntimeInstance* node = nullptr;
  int sinkId = 0;
};

// A register of a node, by the primitive's ID.
struct RegisterOfNode {
  const RuntimeInstance* node = nullptr;
  int registerId = 0;
};

struct InstanceRunState {
  bool absent = false;
  bool created = false;
};

// The simulation engine of the workspace. It does what the reference engine
// (sim/reference_simulation.h) does, with the same results, messages, conditions and tree, but
// keeps the run-time state in flat arrays beside one compiled program per module, copies nothing
// else of the modules, and each phase visits only the primitives that can act.
class Simulation : public PreparedNodes {
 public:
  explicit Simulation(ModuleLibrary& library);
  ~Simulation();
  Simulation(const Simulation&) = delete;
  Simulation& operator=(const Simulation&) = delete;

  // The check: as ReferenceCheck.
  CheckOutcome Check();
  // One step: as ReferenceStep.
  void Step(StepActivity& activity, const StepHooks& hooks = {});
  // Ends the simulation (ResetRuntime) and forgets its state.
  void End();

  // Reading the state. What the view, its tooltips, the sink dialog and the trace and VCD
  // writers show of a node while it runs: give the tree node and the primitive's ID. A node
  // without run-time state or an ID without such a primitive gives an empty span or nullopt.
  // Spans last until the next Check, Step or End.

  // Whether the check or a "new" token prepared `node`: only such a node can be shown.
  bool IsPrepared(const RuntimeInstance& node) const override;
  // Whether `node` has run-time state: the check or a "new" compiled it.
  bool HasState(const RuntimeInstance& node) const;
  // The module a node runs: its definition in the library.
  const Module& ModuleOf(const RuntimeInstance& node) const;
  // The nodes in the order each phase visits them.
  std::vector<const RuntimeInstance*> Schedule() const;
  // A register's cells from the entry to the exit: 0, 1 or EMPTY each.
  std::span<const std::uint8_t> Cells(const RuntimeInstance& node, int registerId) const;
  // The exit (0, 1 or EMPTY) of every register of the node in ascending ID, one to each element
  // of `exits`, for readers that sample a whole node after every step; false, and nothing
  // written, when the node has no state or another number of registers.
  bool RegisterExits(const RuntimeInstance& node, std::span<std::uint8_t> exits) const;
  // Whether a token was put into the register's entry since its last advance.
  bool EntryWritten(const RuntimeInstance& node, int registerId) const;
  std::optional<SourceRunState> Source(const RuntimeInstance& node, int sourceId) const;
  // Every value a sink took, in arrival order.
  std::span<const std::uint8_t> Received(const RuntimeInstance& node, int sinkId) const;
  std::optional<CounterRunState> Counter(const RuntimeInstance& node, int counterId) const;
  std::optional<MachineRunState> Machine(const RuntimeInstance& node, int machineId) const;
  std::optional<InstanceRunState> Instance(const RuntimeInstance& node, int instanceId) const;
  // Every object of the node that holds or waits for tokens and that the next step would not
  // move, with why not, in ascending ID (sim/blocked_reasons.h); empty for a node without state.
  std::vector<BlockedObject> Blocked(const RuntimeInstance& node) const;

  // The sinks whose received list changed in the last step: each took a value or started
  // empty again as its node was created. A sink may come twice; none changes in the check.
  std::size_t ChangedSinkCount() const;
  SinkOfNode ChangedSink(std::size_t k) const;

  // Replaces the values a source has left to emit with `values`, 0 or 1 each, which it then
  // emits from the first, also when a "new" token creates its node again. Only the run changes,
  // not the design. False, and nothing changed, when the node has no state, has no such source,
  // a value is not a bit or there are too many values.
  bool ReplaceSourceValues(const RuntimeInstance& node, int sourceId,
                           std::vector<std::uint8_t> values);

  // The whole run-time state as it stands between steps, tree shape included; pages equal to
  // those of `previous` (an earlier checkpoint of this run) are shared with it.
  EngineCheckpoint TakeCheckpoint(const EngineCheckpoint* previous = nullptr) const;
  // Back to a checkpoint of this run taken at or before the present step: every node made
  // since leaves the tree and the engine, and the next steps run as they ran from there.
  void RestoreCheckpoint(const EngineCheckpoint& checkpoint);

  // Watches the exits of these registers for tokens arriving in the steps that follow, in place
  // of those watched before; registers of nodes without state are passed over. A step that
  // watches none costs nothing more. Check and End forget them.
  void WatchExits(std::span<const RegisterOfNode> registers);
  // Whether a token arrived at the exit of a watched register in the last step.
  bool ExitReached(const RuntimeInstance& node, int registerId) const;

  // Room for `values` more received values of a sink, so that the steps that add them do not
  // allocate.
  void ReserveReceived(const RuntimeInstance& node, int sinkId, std::size_t values);

 private:
  std::unique_ptr<Engine> engine_;
  ModuleLibrary& library_;
};

}  // namespace pelkor
