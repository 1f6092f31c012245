// SPDX-License-Identifier: GPL-3.0-or-later
// Why the objects of a running node that hold or wait for tokens cannot move. Each object is
// judged by the rule of the phase that would move it, on the state between two steps: a machine
// or counter by its readiness test, a source by whether its register accepts, a sink by its
// input, an instance by each of its boundary connections; a register's exit token stays when
// everything that would take it waits itself.
#include "sim/blocked_reasons.h"

#include <algorithm>
#include <optional>
#include <string>

#include "model/sink_verification.h"

namespace pelkor {

namespace {

struct Why {
  const char* code;
  std::string reason;
};
using MaybeWhy = std::optional<Why>;

// What would take a register's exit token.
struct ExitTakers {
  bool taken = false;  // something takes it in the next step
  // The lowest-numbered object that would take it but waits itself; 0 for none.
  int waitingId = 0;
  ObjectKind waitingKind = kNoKind;
  const std::string* port = nullptr;  // the output port of the node's instance it waits at
};

class NodeReasons {
 public:
  NodeReasons(const Engine& engine, const Engine::NodeRecord& node, const Module& design)
      : engine_(engine),
        node_(node),
        program_(engine.ProgramOf(node)),
        design_(design),
        results_(program_.resultRoom) {}

  std::vector<BlockedObject> Collect();

 private:
  // Registers by their number in the engine.
  bool HasToken(std::uint32_t r) const {
    return engine_.Cells(r)[engine_.registerSlot(r).last] != EMPTY;
  }
  bool Accepts(std::uint32_t r) const { return engine_.Cells(r)[0] == EMPTY; }
  // Registers of this node by their number in its program.
  std::uint32_t Global(std::uint32_t local) const { return node_.registers + local; }
  std::string Register(std::uint32_t local) const {
    return ObjectLabel(kShiftRegisterKind, program_.registerIds[local]);
  }
  std::string ChildRegister(std::size_t instance, std::uint32_t r) const;
  const std::string& Port(const ModuleProgram& program, std::size_t instance,
                          std::uint32_t k) const {
    return engine_.names().Name(program.instanceArcs[program.instances[instance].arcs + k].name);
  }

  MaybeWhy StateWhy(const StateProgram& state) const;
  MaybeWhy MachineWhy(const Engine::MachineItem& machine);
  MaybeWhy CounterWhy(const Engine::CounterItem& counter) const;
  MaybeWhy SourceWhy(std::size_t i) const;
  MaybeWhy SinkWhy(std::size_t i) const;
  MaybeWhy InputWhy(std::size_t i, std::uint32_t k) const;
  MaybeWhy OutputWhy(std::size_t i, std::uint32_t k) const;
  MaybeWhy InstanceWhy(std::size_t i) const;
  MaybeWhy RegisterWhy(std::uint32_t local, const ExitTakers& takers) const;

  // Notes the exit takers of the node's registers.
  void Note(std::uint32_t local, bool takes, ObjectKind kind, int id);
  void NoteParentPorts();
  void Add(ObjectKind kind, int id, MaybeWhy why);

  const Engine& engine_;
  const Engine::NodeRecord& node_;
  const ModuleProgram& program_;
  const Module& design_;
  std::vector<int> results_;
  std::vector<ExitTakers> exits_;
  std::vector<BlockedObject> blocked_;
};

std::string StateName(const StateProgram& state) {
  return "状態" + std::to_string(state.number);
}

MaybeWhy NodeReasons::StateWhy(const StateProgram& state) const {
  // A state without any register, or with an input variable no arc binds, never fires.
  if (!state.enableable)
    return Why{"unconnected", StateName(state) + "の入力にシフトレジスタがつながっていません"};
  for (const std::uint32_t input : state.needTokens) {
    if (!HasToken(Global(input)))
      return Why{"input-empty", StateName(state) + "の入力" + Register(input) + "が空です"};
  }
  for (const std::uint32_t output : state.needRoom) {
    if (!Accepts(Global(output)))
      return Why{"output-full", StateName(state) + "の出力" + Register(output) + "がいっぱいです"};
  }
  return std::nullopt;
}

// A machine holds tokens when an input of any of its states has one.
MaybeWhy NodeReasons::MachineWhy(const Engine::MachineItem& machine) {
  const MachineProgram& program = *machine.program;
  const bool holds =
      std::any_of(program.states.begin(), program.states.end(), [this](const StateProgram& state) {
        return std::any_of(
            state.needTokens.begin(), state.needTokens.end(),
            [this](std::uint32_t r) { return r != kNoIndex && HasToken(Global(r)); });
      });
  if (machine.ready || !holds)
    return std::nullopt;
  const StateProgram& current = program.states[machine.current];
  if (MaybeWhy why = StateWhy(current); why || !program.twoStepMode)
    return why;
  const StateArcTarget* chosen = engine_.ChosenArc(current, node_.registers, results_.data());
  if (chosen == nullptr)
    return Why{"guard", "入力の値では" + StateName(current) + "のどのアークも選ばれません"};
  return StateWhy(program.states[chosen->index]);
}

MaybeWhy NodeReasons::CounterWhy(const Engine::CounterItem& counter) const {
  const CounterProgram& program = *counter.program;
  const bool holds =
      program.inputs.empty() ||
      std::any_of(program.inputs.begin(), program.inputs.end(),
                  [this](std::uint32_t r) { return r != kNoIndex && HasToken(Global(r)); });
  if (!program.hasRegisters || counter.ready || !holds)
    return std::nullopt;
  for (const std::uint32_t input : program.inputs) {
    if (input == kNoIndex)
      return Why{"unconnected", "入力にシフトレジスタがつながっていません"};
    if (!HasToken(Global(input)))
      return Why{"input-empty", "入力" + Register(input) + "が空です"};
  }
  if (program.output != kNoIndex && !Accepts(Global(program.output)))
    return Why{"output-full", "出力" + Register(program.output) + "がいっぱいです"};
  return std::nullopt;
}

MaybeWhy NodeReasons::SourceWhy(std::size_t i) const {
  const Engine::SourceItem& source = engine_.source(node_.first[kSourceItems] + i);
  if (source.output == kNoIndex || source.emitted == source.queueLength || Accepts(source.output))
    return std::nullopt;
  const std::string full = "出力" + Register(program_.sources[i].output) + "がいっぱいで、";
  if (source.holdValue != 0)
    return Why{"source-unread", full + "保持している値を出せません"};
  return Why{
      "source-unread",
      full + "値があと" + std::to_string(source.queueLength - source.emitted) + "個残っています"};
}

// A sink waits when it expects more values than it received.
MaybeWhy NodeReasons::SinkWhy(std::size_t i) const {
  const Engine::SinkItem& sink = engine_.sink(node_.first[kSinkItems] + i);
  if (sink.input == kNoIndex || HasToken(sink.input))
    return std::nullopt;
  const auto design = design_.sinks.find(program_.sinks[i].id);
  if (design == design_.sinks.end() || !ExpectsValues(design->second))
    return std::nullopt;
  const std::size_t expected = ExpectedBits(design->second).size();
  const std::size_t received =
      sink.received != kNoIndex ? engine_.received(sink.received).size() : 0;
  if (received >= expected)
    return std::nullopt;
  return Why{"input-empty", "入力" + Register(program_.sinks[i].input) +
                                "が空です。照合する値があと" + std::to_string(expected - received) +
                                "個あります"};
}

std::string NodeReasons::ChildRegister(std::size_t instance, std::uint32_t r) const {
  const auto child = node_.tree->children.find(program_.instances[instance].id);
  if (child == node_.tree->children.end())
    return std::string(ObjectKindName(kShiftRegisterKind));
  const Engine::NodeRecord& inside = engine_.nodes()[engine_.NodeOf(*child->second)];
  return ObjectLabel(kShiftRegisterKind,
                     engine_.ProgramOf(inside).registerIds[r - inside.registers]);
}

// Input connection `k` of instance `i`, as phase 2 would take its token; none when it holds
// none or it crosses.
MaybeWhy NodeReasons::InputWhy(std::size_t i, std::uint32_t k) const {
  const Engine::InstanceItem& item = engine_.instance(node_.first[kInstanceItems] + i);
  const Engine::Connection& connection = engine_.connection(item.connections + k);
  if (!HasToken(connection.outer))
    return std::nullopt;
  if (item.hasNewArc) {
    const DynamicProgram& dynamic = program_.DynamicOf(i);
    const auto isArc = [&](std::uint32_t arc) {
      return arc != kNoIndex && connection.outer == Global(arc);
    };
    if (!item.created && !isArc(dynamic.newArc)) {
      return Why{"not-created", "newされていないので入力ポート" + Port(program_, i, k) +
                                    "のトークンを受け取れません"};
    }
    if (!item.created || (item.hasDeleteArc && isArc(dynamic.deleteArc)))
      return std::nullopt;  // it creates or deletes the instance
  }
  if (connection.inner == kNoIndex || Accepts(connection.inner))
    return std::nullopt;
  return Why{"port-waiting", "入力ポート" + Port(program_, i, k) + "の中の" +
                                 ChildRegister(i, connection.inner) + "がいっぱいです"};
}

MaybeWhy NodeReasons::OutputWhy(std::size_t i, std::uint32_t k) const {
  const Engine::InstanceItem& item = engine_.instance(node_.first[kInstanceItems] + i);
  const Engine::Connection& connection = engine_.connection(item.connections + k);
  if (item.absent || connection.inner == kNoIndex || !HasToken(connection.inner) ||
      Accepts(connection.outer)) {
    return std::nullopt;
  }
  return Why{"port-waiting", "出力ポート" + Port(program_, i, k) + "の先の" +
                                 Register(connection.outer - node_.registers) + "がいっぱいです"};
}

MaybeWhy NodeReasons::InstanceWhy(std::size_t i) const {
  const Engine::InstanceItem& item = engine_.instance(node_.first[kInstanceItems] + i);
  for (std::uint32_t k = item.inputCount; k < item.inputCount + item.outputCount; ++k) {
    if (MaybeWhy why = OutputWhy(i, k))
      return why;
  }
  for (std::uint32_t k = 0; k < item.inputCount; ++k) {
    if (MaybeWhy why = InputWhy(i, k))
      return why;
  }
  return std::nullopt;
}

MaybeWhy NodeReasons::RegisterWhy(std::uint32_t local, const ExitTakers& takers) const {
  if (takers.taken || !HasToken(Global(local)))
    return std::nullopt;
  if (takers.waitingId != 0) {
    return Why{
        "exit-untaken",
        "出口のトークンを" + ObjectLabel(takers.waitingKind, takers.waitingId) + "が取りません"};
  }
  if (takers.port != nullptr)
    return Why{"port-waiting", "出口のトークンが出力ポート" + *takers.port + "で待っています"};
  return Why{"no-consumer", "出口のトークンを取るものがありません"};
}

void NodeReasons::Note(std::uint32_t local, bool takes, ObjectKind kind, int id) {
  if (local >= exits_.size())
    return;
  ExitTakers& exit = exits_[local];
  if (takes) {
    exit.taken = true;
  } else if (exit.waitingId == 0 || id < exit.waitingId) {
    exit.waitingId = id;
    exit.waitingKind = kind;
  }
}

// The instance of the parent that this node's output ports are wired to takes their tokens.
void NodeReasons::NoteParentPorts() {
  if (node_.parentItem == kNoIndex)
    return;
  const Engine::InstanceItem& item = engine_.instance(node_.parentItem);
  const Engine::NodeRecord& parent = engine_.nodes()[item.node];
  for (std::uint32_t k = item.inputCount; k < item.inputCount + item.outputCount; ++k) {
    const Engine::Connection& connection = engine_.connection(item.connections + k);
    if (connection.inner < node_.registers || connection.inner - node_.registers >= exits_.size())
      continue;
    ExitTakers& exit = exits_[connection.inner - node_.registers];
    if (!item.absent && Accepts(connection.outer))
      exit.taken = true;
    else
      exit.port = &Port(engine_.ProgramOf(parent), item.local, k);
  }
}

void NodeReasons::Add(ObjectKind kind, int id, MaybeWhy why) {
  if (why)
    blocked_.push_back({id, kind, why->code, std::move(why->reason)});
}

std::vector<BlockedObject> NodeReasons::Collect() {
  exits_.assign(program_.registerIds.size(), {});
  for (std::size_t i = 0; i < program_.sinks.size(); ++i) {
    const Engine::SinkItem& sink = engine_.sink(node_.first[kSinkItems] + i);
    if (sink.input != kNoIndex)
      exits_[sink.input - node_.registers].taken = true;
    Add(kSinkKind, program_.sinks[i].id, SinkWhy(i));
  }
  for (std::size_t i = 0; i < program_.machines.size(); ++i) {
    const Engine::MachineItem& machine = engine_.machine(node_.first[kMachineItems] + i);
    MaybeWhy why = MachineWhy(machine);
    for (const StateProgram& state : machine.program->states) {
      for (const std::uint32_t input : state.needTokens) {
        if (input != kNoIndex)
          Note(input, !why, kStateMachineKind, machine.program->id);
      }
    }
    Add(kStateMachineKind, machine.program->id, std::move(why));
  }
  for (std::size_t i = 0; i < program_.counters.size(); ++i) {
    const Engine::CounterItem& counter = engine_.counter(node_.first[kCounterItems] + i);
    MaybeWhy why = CounterWhy(counter);
    for (const std::uint32_t input : counter.program->inputs) {
      if (input != kNoIndex)
        Note(input, !why, kCounterKind, counter.program->id);
    }
    Add(kCounterKind, counter.program->id, std::move(why));
  }
  for (std::size_t i = 0; i < program_.sources.size(); ++i)
    Add(kSourceKind, program_.sources[i].id, SourceWhy(i));
  for (std::size_t i = 0; i < program_.instances.size(); ++i) {
    const Engine::InstanceItem& item = engine_.instance(node_.first[kInstanceItems] + i);
    for (std::uint32_t k = 0; k < item.inputCount; ++k) {
      const std::uint32_t outer = engine_.connection(item.connections + k).outer;
      Note(outer - node_.registers, !InputWhy(i, k), kInstanceKind, program_.instances[i].id);
    }
    Add(kInstanceKind, program_.instances[i].id, InstanceWhy(i));
  }
  NoteParentPorts();
  for (std::uint32_t r = 0; r < exits_.size(); ++r)
    Add(kShiftRegisterKind, program_.registerIds[r], RegisterWhy(r, exits_[r]));
  std::sort(blocked_.begin(), blocked_.end(),
            [](const BlockedObject& a, const BlockedObject& b) { return a.id < b.id; });
  return std::move(blocked_);
}

}  // namespace

std::vector<BlockedObject> ExplainNode(const Engine& engine, const Engine::NodeRecord& node,
                                       const Module& design) {
  return NodeReasons(engine, node, design).Collect();
}

}  // namespace pelkor
