// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs one design in the reference engine and in the workspace's engine side by side, and
// describes everything either shows after the check and after every step: the messages, the
// activity, the condition raised, what the windows were told, the tree with its flags, the
// schedule, and every node's run-time state. The descriptions must be equal.

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/errors.h"
#include "model/module_library.h"
#include "sim/compile.h"
#include "sim/net_runtime.h"
#include "sim/reference_simulation.h"
#include "sim/simulation.h"
#include "sim/simulation_condition.h"
#include "sim/step.h"
#include "support/recording_log.h"

namespace pelkor::testing {

// The root's name, then the instance number of each node down to this one: "untitle/4/2".
inline std::string PathOf(const RuntimeInstance* node) {
  if (node == nullptr)
    return "none";
  std::vector<int> numbers;
  for (; node->parent != nullptr; node = node->parent)
    numbers.push_back(node->instanceNumber);
  std::string path = node->name;
  for (auto number = numbers.rbegin(); number != numbers.rend(); ++number)
    path += "/" + std::to_string(*number);
  return path;
}

inline std::string TokenText(std::uint8_t value) {
  return value == EMPTY ? "-" : std::to_string(value);
}

// What either engine holds for one node, by primitive ID.
struct NodeState {
  std::map<int, std::string> registers;  // cells, then "*" when the entry was written
  std::map<int, std::size_t> emitted;
  std::map<int, std::string> received;
  std::map<int, std::string> counters;
  std::map<int, std::string> machines;
  std::map<int, std::string> instances;

  std::string Text() const {
    std::ostringstream out;
    const auto list = [&out](const char* kind, const auto& entries) {
      for (const auto& [id, value] : entries)
        out << ' ' << kind << id << '=' << value;
    };
    list("reg", registers);
    list("src", emitted);
    list("sink", received);
    list("ctr", counters);
    list("sm", machines);
    list("mod", instances);
    return out.str();
  }
};

// Whether the check compiled a node's records: a node below one that "new" has still to
// create gets a working copy and empty records, and never acts.
inline bool IsCompiled(const Module& net, const NetRuntime& runtime) {
  return runtime.sources.size() == net.sources.size() && runtime.sinks.size() == net.sinks.size() &&
         runtime.counters.size() == net.counters.size() &&
         runtime.machines.size() == net.stateMachines.size() &&
         runtime.instances.size() == net.instances.size() &&
         (runtime.registers().empty() || runtime.registers().front().size() != 0);
}

inline std::optional<NodeState> ReferenceNodeState(const ReferenceSimulation& reference,
                                                   const RuntimeInstance& node) {
  const Module* net = reference.Net(node);
  const NetRuntime* records = reference.Runtime(node);
  if (net == nullptr || records == nullptr || !IsCompiled(*net, *records))
    return std::nullopt;
  const NetRuntime& runtime = *records;
  NodeState state;
  for (const ShiftRegisterRuntime& shiftRegister : runtime.registers()) {
    std::string cells;
    for (std::size_t i = 0; i < shiftRegister.size(); ++i)
      cells += TokenText(static_cast<std::uint8_t>(shiftRegister.Cell(i)));
    state.registers[shiftRegister.id()] = cells + (shiftRegister.entryWritten() ? "*" : "");
  }
  for (const SourceRuntime& source : runtime.sources)
    state.emitted[source.id] = source.emitted;
  for (const SinkRuntime& sink : runtime.sinks) {
    std::string received;
    for (const int value : sink.received)
      received += TokenText(static_cast<std::uint8_t>(value));
    state.received[sink.id] = received;
  }
  for (const CounterRuntime& counter : runtime.counters)
    state.counters[counter.id] = std::to_string(counter.remaining) + (counter.ready ? "r" : "");
  for (const StateMachineRuntime& machine : runtime.machines) {
    state.machines[machine.id] = std::to_string(machine.currentNumber) + "/" +
                                 std::to_string(machine.Current().number) +
                                 (machine.ready ? "r" : "");
  }
  for (const ModuleInstanceRuntime& instance : runtime.instances) {
    state.instances[instance.id] =
        std::string(instance.absent ? "absent" : "") + (instance.created ? "created" : "");
  }
  return state;
}

inline std::optional<NodeState> EngineNodeState(const Simulation& simulation,
                                                const RuntimeInstance& node) {
  if (!simulation.HasState(node))
    return std::nullopt;
  const Module& net = simulation.ModuleOf(node);
  NodeState state;
  for (const auto& [id, shiftRegister] : net.shiftRegisters) {
    std::string cells;
    for (const std::uint8_t value : simulation.Cells(node, id))
      cells += TokenText(value);
    state.registers[id] = cells + (simulation.EntryWritten(node, id) ? "*" : "");
  }
  for (const auto& [id, source] : net.sources)
    state.emitted[id] = simulation.Source(node, id).value().emitted;
  for (const auto& [id, sink] : net.sinks) {
    std::string received;
    for (const std::uint8_t value : simulation.Received(node, id))
      received += TokenText(value);
    state.received[id] = received;
  }
  for (const auto& [id, counter] : net.counters) {
    const CounterRunState run = simulation.Counter(node, id).value();
    state.counters[id] = std::to_string(run.remaining) + (run.ready ? "r" : "");
  }
  for (const auto& [id, machine] : net.stateMachines) {
    const MachineRunState run = simulation.Machine(node, id).value();
    state.machines[id] = std::to_string(run.currentNumber) + "/" +
                         std::to_string(run.currentState) + (run.ready ? "r" : "");
  }
  for (const auto& [id, instance] : net.instances) {
    const InstanceRunState run = simulation.Instance(node, id).value();
    state.instances[id] = std::string(run.absent ? "absent" : "") + (run.created ? "created" : "");
  }
  return state;
}

// The tree, the schedule, the module shown, and the state of every node, one node a line.
template <typename StateOf>
std::string DescribeRun(const ModuleLibrary& library, const PreparedNodes& prepared,
                        const std::vector<const RuntimeInstance*>& schedule, StateOf stateOf) {
  std::ostringstream out;
  const auto visit = [&](const auto& self, const RuntimeInstance& node) -> void {
    const bool scheduled = std::find(schedule.begin(), schedule.end(), &node) != schedule.end();
    out << PathOf(&node) << ' ' << node.name << (node.deleted ? " deleted" : "")
        << (scheduled ? " scheduled" : "") << (node.dynamicHost ? " host" : "")
        << (prepared.IsPrepared(node) ? " prepared" : "");
    for (const auto& [id, child] : node.children) {
      if (child->dynamic)
        out << " dynamic" << id;
    }
    if (const std::optional<NodeState> state = stateOf(node))
      out << state->Text();
    out << '\n';
    for (const auto& [id, child] : node.children)
      self(self, *child);
  };
  visit(visit, library.rootInstance());
  out << "schedule";
  for (const RuntimeInstance* node : schedule)
    out << ' ' << PathOf(node);
  const RuntimeInstance& current = library.currentInstance();
  out << "\nshowing " << PathOf(&current) << ' '
      << (library.Exists(current.name) &&
                  &library.currentModule() == &library.ModuleByName(current.name)
              ? "design"
              : "other")
      << '\n';
  return out.str();
}

class EngineComparison {
 public:
  // `build` fills a fresh library; it is called once for each engine and must build the same
  // design both times.
  template <typename Build>
  explicit EngineComparison(Build build) {
    build(reference_.library);
    build(engine_.library);
  }

  // The tree size past which a run stops early.
  static constexpr std::size_t kMaxNodes = 2000;

  // Checks, then runs up to `steps` steps (fewer once both have been idle for a while, or once
  // the tree outgrows kMaxNodes) and ends the simulation; returns the first difference
  // described, or an empty text.
  std::string Run(int steps) {
    CheckOutcome referenceOutcome = reference_.simulation.Check();
    CheckOutcome engineOutcome = simulation_.Check();
    // A failed check leaves records half compiled, which nothing reads: the simulation ends.
    if (referenceOutcome.failingNode != nullptr) {
      const auto noState = [](const RuntimeInstance&) { return std::optional<NodeState>(); };
      return Compare(
          "check",
          Outcome(referenceOutcome) + reference_.Take() +
              DescribeRun(reference_.library, reference_.simulation, ReferenceSchedule(), noState),
          Outcome(engineOutcome) + engine_.Take() +
              DescribeRun(engine_.library, simulation_, simulation_.Schedule(), noState));
    }
    received_ = ReceivedLists();
    std::string difference =
        Compare("check", Outcome(referenceOutcome) + reference_.Take() + ReferenceState(),
                Outcome(engineOutcome) + engine_.Take() + EngineState());
    if (!difference.empty())
      return difference;
    int idle = 0;
    for (int step = 1; step <= steps && idle < 4; ++step) {
      StepActivity referenceActivity = 0;
      StepActivity engineActivity = 0;
      const std::string referenceResult = reference_.Run(
          [&](const StepHooks& hooks) { reference_.simulation.Step(referenceActivity, hooks); });
      const std::string engineResult =
          engine_.Run([&](const StepHooks& hooks) { simulation_.Step(engineActivity, hooks); });
      difference = Compare("step " + std::to_string(step),
                           referenceResult + " activity " + std::to_string(referenceActivity) +
                               "\n" + reference_.Take() + ReferenceState(),
                           engineResult + " activity " + std::to_string(engineActivity) + "\n" +
                               engine_.Take() + EngineState());
      if (!difference.empty())
        return difference;
      difference = UnnamedSinkChanges(step);
      if (!difference.empty())
        return difference;
      events_.insert(reference_.outcome);
      for (const char* told : {"deleting", "tree", "creation failed"}) {
        if (referenceResult.find(told) != std::string::npos)
          events_.insert(told);
      }
      idle = referenceActivity == 0 ? idle + 1 : 0;
      // A module fed "new" through two instances of itself doubles the tree every step: the
      // first steps of such a design are compared, not the memory it ends up needing.
      std::size_t nodes = 0;
      reference_.library.ForEachNode([&nodes](RuntimeInstance&) { ++nodes; });
      if (nodes > kMaxNodes)
        break;
    }
    reference_.simulation.End();
    simulation_.End();
    return Compare("end", ReferenceState(), EngineState());
  }

  // What the steps did: "ok", "condition 100", ..., "message ...", "deleting", "tree" and
  // "creation failed".
  const std::set<std::string>& events() const { return events_; }

 private:
  struct Side {
    Side() { output.Attach(&log); }

    // Runs a step, telling what it raised and what the windows were told.
    template <typename StepFunction>
    std::string Run(StepFunction step) {
      std::string told;
      StepHooks hooks;
      hooks.instanceDeleting = [&told](RuntimeInstance& node) {
        told += " deleting " + PathOf(&node);
      };
      hooks.treeChanged = [&told] { told += " tree"; };
      hooks.creationFailed = [&told] { told += " creation failed"; };
      outcome = "ok";
      try {
        step(hooks);
      } catch (const SimulationCondition& condition) {
        outcome = "condition " + std::to_string(condition.code());
      } catch (const MessageError& error) {
        outcome = std::string("message ") + error.what();
      }
      return outcome + told;
    }
    // The log lines written since the last call.
    std::string Take() {
      std::string lines;
      for (const std::string& line : log.lines)
        lines += line + "\n";
      log.lines.clear();
      return lines;
    }

    RecordingLog log;
    OutputLog output;
    ModuleLibrary library{output};
    std::string outcome;  // of the last step: "ok", "condition N" or "message TEXT"
  };

  static std::string Outcome(const CheckOutcome& outcome) {
    return std::string(outcome.prepareFailed ? "prepare failed, " : "") + "failing " +
           PathOf(outcome.failingNode) + "\n";
  }
  std::vector<const RuntimeInstance*> ReferenceSchedule() const {
    const std::vector<RuntimeInstance*>& schedule = reference_.simulation.schedule();
    return {schedule.begin(), schedule.end()};
  }
  std::string ReferenceState() const {
    return DescribeRun(reference_.library, reference_.simulation, ReferenceSchedule(),
                       [this](const RuntimeInstance& node) {
                         return ReferenceNodeState(reference_.simulation, node);
                       });
  }
  std::string EngineState() const {
    return DescribeRun(
        engine_.library, simulation_, simulation_.Schedule(),
        [this](const RuntimeInstance& node) { return EngineNodeState(simulation_, node); });
  }
  // Every sink's received values in the engine, by node path and sink ID.
  std::map<std::pair<std::string, int>, std::string> ReceivedLists() const {
    std::map<std::pair<std::string, int>, std::string> lists;
    const auto visit = [&](const auto& self, const RuntimeInstance& node) -> void {
      if (const std::optional<NodeState> state = EngineNodeState(simulation_, node)) {
        for (const auto& [id, received] : state->received)
          lists[{PathOf(&node), id}] = received;
      }
      for (const auto& [id, child] : node.children)
        self(self, *child);
    };
    visit(visit, engine_.library.rootInstance());
    return lists;
  }
  // The sinks whose received values changed in the step and that the engine did not name as
  // changed.
  std::string UnnamedSinkChanges(int step) {
    std::set<std::pair<std::string, int>> named;
    for (std::size_t k = 0; k < simulation_.ChangedSinkCount(); ++k) {
      const SinkOfNode changed = simulation_.ChangedSink(k);
      named.insert({PathOf(changed.node), changed.sinkId});
    }
    std::map<std::pair<std::string, int>, std::string> lists = ReceivedLists();
    std::string unnamed;
    for (const auto& [sink, received] : lists) {
      const auto before = received_.find(sink);
      const bool changed =
          before == received_.end() ? !received.empty() : before->second != received;
      if (changed && !named.contains(sink))
        unnamed += " " + sink.first + " sink" + std::to_string(sink.second);
    }
    received_ = std::move(lists);
    return unnamed.empty() ? ""
                           : "after step " + std::to_string(step) + ": changed unnamed" + unnamed;
  }

  static std::string Compare(const std::string& when, const std::string& reference,
                             const std::string& engine) {
    if (reference == engine)
      return {};
    return "after " + when + ":\n--- reference\n" + reference + "--- engine\n" + engine;
  }

  // The reference engine's side, with its engine beside its library.
  struct ReferenceSide : Side {
    ReferenceSimulation simulation{library};
  };

  ReferenceSide reference_;
  Side engine_;
  std::set<std::string> events_;
  std::map<std::pair<std::string, int>, std::string> received_;  // after the last step
  Simulation simulation_{engine_.library};
};

}  // namespace pelkor::testing
