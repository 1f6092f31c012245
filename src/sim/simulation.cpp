// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/simulation.h"

#include <algorithm>

#include "sim/blocked_reasons.h"
#include "sim/engine.h"

namespace pelkor {

namespace {

// The engine's record of a node that has run-time state, or nullptr.
const Engine::NodeRecord* NodeWithState(const Engine& engine, const RuntimeInstance& tree) {
  const std::uint32_t n = engine.NodeOf(tree);
  if (n == kNoIndex || !engine.HasState(n) || !engine.IsPrepared(tree))
    return nullptr;
  return &engine.nodes()[n];
}

// The number of the node's item of one kind with that ID, or kNoIndex.
template <typename Program>
std::uint32_t ItemOf(const Engine& engine, const RuntimeInstance& tree, int id,
                     const std::vector<Program> ModuleProgram::*programs, ItemKind kind) {
  const Engine::NodeRecord* node = NodeWithState(engine, tree);
  if (node == nullptr)
    return kNoIndex;
  const std::uint32_t local = ModuleProgram::IndexOf(engine.ProgramOf(*node).*programs, id);
  return local == kNoIndex ? kNoIndex : node->first[kind] + local;
}

// The register of the node with that ID, or kNoIndex.
std::uint32_t RegisterOf(const Engine& engine, const RuntimeInstance& tree, int id) {
  const Engine::NodeRecord* node = NodeWithState(engine, tree);
  if (node == nullptr)
    return kNoIndex;
  const std::uint32_t local = engine.ProgramOf(*node).RegisterIndex(id);
  return local == kNoIndex ? kNoIndex : node->registers + local;
}

}  // namespace

Simulation::Simulation(ModuleLibrary& library)
    : engine_(std::make_unique<Engine>(library)), library_(library) {}

Simulation::~Simulation() = default;

CheckOutcome Simulation::Check() {
  engine_->WatchExits({});
  return engine_->Check();
}

void Simulation::Step(StepActivity& activity, const StepHooks& hooks) {
  engine_->Step(activity, hooks);
}

void Simulation::End() {
  ResetRuntime(library_);
  engine_->Clear();
}

bool Simulation::IsPrepared(const RuntimeInstance& node) const {
  return engine_->IsPrepared(node);
}

bool Simulation::HasState(const RuntimeInstance& node) const {
  return NodeWithState(*engine_, node) != nullptr;
}

const Module& Simulation::ModuleOf(const RuntimeInstance& node) const {
  return library_.ModuleByName(node.name);
}

std::vector<const RuntimeInstance*> Simulation::Schedule() const {
  return engine_->Schedule();
}

std::span<const std::uint8_t> Simulation::Cells(const RuntimeInstance& node, int registerId) const {
  const std::uint32_t r = RegisterOf(*engine_, node, registerId);
  if (r == kNoIndex)
    return {};
  const Engine::RegisterSlot& slot = engine_->registerSlot(r);
  return {engine_->Cells(r), std::size_t{slot.last} + 1};
}

bool Simulation::RegisterExits(const RuntimeInstance& tree, std::span<std::uint8_t> exits) const {
  const Engine::NodeRecord* node = NodeWithState(*engine_, tree);
  if (node == nullptr || engine_->ProgramOf(*node).registerIds.size() != exits.size())
    return false;
  for (std::size_t i = 0; i < exits.size(); ++i) {
    const auto r = node->registers + static_cast<std::uint32_t>(i);
    exits[i] = engine_->Cells(r)[engine_->registerSlot(r).last];
  }
  return true;
}

bool Simulation::EntryWritten(const RuntimeInstance& node, int registerId) const {
  const std::uint32_t r = RegisterOf(*engine_, node, registerId);
  return r != kNoIndex && engine_->registerSlot(r).written != 0;
}

std::optional<SourceRunState> Simulation::Source(const RuntimeInstance& node, int sourceId) const {
  const std::uint32_t i = ItemOf(*engine_, node, sourceId, &ModuleProgram::sources, kSourceItems);
  if (i == kNoIndex)
    return std::nullopt;
  const Engine::SourceItem& source = engine_->source(i);
  const ModuleProgram& program = engine_->ProgramOf(engine_->nodes()[source.node]);
  SourceRunState state{
      {source.queue, source.queueLength}, source.emitted, std::nullopt, source.holdValue != 0};
  const std::uint32_t output =
      program.sources[i - engine_->nodes()[source.node].first[kSourceItems]].output;
  if (output != kNoIndex)
    state.outputRegister = program.registerIds[output];
  return state;
}

std::span<const std::uint8_t> Simulation::Received(const RuntimeInstance& node, int sinkId) const {
  const std::uint32_t i = ItemOf(*engine_, node, sinkId, &ModuleProgram::sinks, kSinkItems);
  if (i == kNoIndex || engine_->sink(i).received == kNoIndex)
    return {};
  return engine_->received(engine_->sink(i).received);
}

std::optional<CounterRunState> Simulation::Counter(const RuntimeInstance& node,
                                                   int counterId) const {
  const std::uint32_t i =
      ItemOf(*engine_, node, counterId, &ModuleProgram::counters, kCounterItems);
  if (i == kNoIndex)
    return std::nullopt;
  const Engine::CounterItem& counter = engine_->counter(i);
  return CounterRunState{counter.remaining, counter.ready != 0};
}

std::optional<MachineRunState> Simulation::Machine(const RuntimeInstance& node,
                                                   int machineId) const {
  const std::uint32_t i =
      ItemOf(*engine_, node, machineId, &ModuleProgram::machines, kMachineItems);
  if (i == kNoIndex)
    return std::nullopt;
  const Engine::MachineItem& machine = engine_->machine(i);
  return MachineRunState{machine.currentNumber, machine.program->states[machine.current].number,
                         machine.ready != 0};
}

std::optional<InstanceRunState> Simulation::Instance(const RuntimeInstance& node,
                                                     int instanceId) const {
  const std::uint32_t i =
      ItemOf(*engine_, node, instanceId, &ModuleProgram::instances, kInstanceItems);
  if (i == kNoIndex)
    return std::nullopt;
  const Engine::InstanceItem& instance = engine_->instance(i);
  return InstanceRunState{instance.absent, instance.created};
}

std::vector<BlockedObject> Simulation::Blocked(const RuntimeInstance& tree) const {
  const Engine::NodeRecord* node = NodeWithState(*engine_, tree);
  if (node == nullptr || tree.deleted)
    return {};
  return ExplainNode(*engine_, *node, ModuleOf(tree));
}

std::size_t Simulation::ChangedSinkCount() const {
  return engine_->changedSinks().size();
}

SinkOfNode Simulation::ChangedSink(std::size_t k) const {
  const std::uint32_t i = engine_->changedSinks()[k];
  const Engine::NodeRecord& node = engine_->nodes()[engine_->sink(i).node];
  return {node.tree, engine_->ProgramOf(node).sinks[i - node.first[kSinkItems]].id};
}

bool Simulation::ReplaceSourceValues(const RuntimeInstance& node, int sourceId,
                                     std::vector<std::uint8_t> values) {
  const std::uint32_t i = ItemOf(*engine_, node, sourceId, &ModuleProgram::sources, kSourceItems);
  const bool bits = std::all_of(values.begin(), values.end(), [](std::uint8_t v) { return v < 2; });
  if (i == kNoIndex || !bits || values.size() >= Engine::kQueueLimit)
    return false;
  engine_->ReplaceQueue(i, std::move(values));
  return true;
}

EngineCheckpoint Simulation::TakeCheckpoint(const EngineCheckpoint* previous) const {
  return engine_->Capture(previous);
}

void Simulation::RestoreCheckpoint(const EngineCheckpoint& checkpoint) {
  engine_->Restore(checkpoint);
}

void Simulation::WatchExits(std::span<const RegisterOfNode> registers) {
  std::vector<std::uint32_t> watched;
  for (const RegisterOfNode& of : registers) {
    if (const std::uint32_t r = RegisterOf(*engine_, *of.node, of.registerId); r != kNoIndex)
      watched.push_back(r);
  }
  engine_->WatchExits(std::move(watched));
}

bool Simulation::ExitReached(const RuntimeInstance& node, int registerId) const {
  const std::uint32_t r = RegisterOf(*engine_, node, registerId);
  return r != kNoIndex && engine_->ExitReached(r);
}

void Simulation::ReserveReceived(const RuntimeInstance& node, int sinkId, std::size_t values) {
  const std::uint32_t i = ItemOf(*engine_, node, sinkId, &ModuleProgram::sinks, kSinkItems);
  if (i == kNoIndex || engine_->sink(i).received == kNoIndex)
    return;
  std::vector<std::uint8_t>& list = engine_->received(engine_->sink(i).received);
  list.reserve(list.size() + values);
}

}  // namespace pelkor
