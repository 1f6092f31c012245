// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's check and the creation of nodes: compiling each module once, giving every node
// its blocks of state, wiring instances to their children.
#include <algorithm>
#include <new>

#include "sim/compile_steps.h"
#include "sim/engine.h"
#include "sim/step_parts.h"

namespace pelkor {

CheckOutcome Engine::Check() {
  Clear();
  CheckOutcome outcome;
  RuntimeInstance& root = library_.rootInstance();
  // Every node may get a record: room for all at once, as a large tree keeps them for the run.
  std::size_t count = 0;
  CountNodes(root, count);
  nodes_.reserve(count);
  prepared_.reserve(count);
  compiled_.reserve(count);
  live_.reserve(count);
  skipping_.reserve(count);
  nodeTable_.Reserve(count, [this](std::uint32_t n) { return nodes_[n].tree; });
  try {
    PrepareNets(library_, *this, root);
  } catch (...) {
    library_.log().WriteText("era-");
    outcome.prepareFailed = true;
  }
  CountNodesToBuild(root);
  outcome.failingNode = CompileNode(root, nullptr);
  nodesToBuild_.clear();
  Fit();
  return outcome;
}

void Engine::CountNodes(const RuntimeInstance& node, std::size_t& count) const {
  ++count;
  for (const auto& [id, child] : node.children)
    CountNodes(*child, count);
}

void Engine::CountNodesToBuild(const RuntimeInstance& node) {
  if (!IsPrepared(node))
    return;
  ++nodesToBuild_[node.name];
  for (const auto& [id, child] : node.children)
    CountNodesToBuild(*child);
}

// Room for `count` more nodes of a module, taken when its program is made: the arrays of a
// large hierarchy grow once per module, where growing by doubling would leave them up to twice
// the size they need while the check runs.
void Engine::ReserveNodes(const ModuleProgram& program, std::size_t count, bool includesRoot) {
  const auto reserve = [count](auto& array, std::size_t each) {
    array.reserve(array.capacity() + count * each);
  };
  std::size_t longCells = 0;
  for (std::size_t r = 0; r + 1 < program.cellStarts.size(); ++r) {
    if (const std::size_t size = program.cellStarts[r + 1] - program.cellStarts[r];
        size > kSlotCells) {
      longCells += size;
    }
  }
  const std::size_t connectionRoom = program.instanceArcs.size();
  reserve(schedule_, 1);
  reserve(registers_, program.registerIds.size());
  reserve(registerNode_, program.registerIds.size());
  reserve(watchStarts_, program.registerIds.size());
  // Nodes below the root have their named ports wired, the root never.
  watchers_.reserve(watchers_.capacity() +
                    count * (program.watchers.size() - program.portWatchers) +
                    (includesRoot ? program.portWatchers : 0));
  reserve(cells_, longCells);
  reserve(sinks_, program.sinks.size());
  reserve(received_, program.sinks.size());
  reserve(sources_, program.sources.size());
  reserve(counters_, program.counters.size());
  reserve(machines_, program.machines.size());
  reserve(instances_, program.instances.size());
  reserve(connections_, connectionRoom);
}

// The arrays grew node by node; a large design keeps them for the whole run.
void Engine::Fit() {
  schedule_.shrink_to_fit();
  registers_.shrink_to_fit();
  registerNode_.shrink_to_fit();
  watchStarts_.shrink_to_fit();
  watchers_.shrink_to_fit();
  cells_.shrink_to_fit();
  sinks_.shrink_to_fit();
  sources_.shrink_to_fit();
  counters_.shrink_to_fit();
  machines_.shrink_to_fit();
  instances_.shrink_to_fit();
  connections_.shrink_to_fit();
  received_.shrink_to_fit();
}

namespace {

// Empties a container and gives its memory back.
template <typename Container>
void Release(Container& container) {
  container = Container();
}

}  // namespace

void Engine::Clear() {
  nodeTable_.Clear();
  names_.Clear();
  Release(modules_);
  Release(programs_);
  Release(nodesToBuild_);
  Release(nodes_);
  Release(schedule_);
  Release(prepared_);
  Release(compiled_);
  Release(live_);
  Release(skipping_);
  Release(registers_);
  Release(watchedExits_);
  Release(registerNode_);
  watchStarts_ = {0};
  Release(watchers_);
  Release(cells_);
  Release(sinks_);
  Release(sources_);
  Release(counters_);
  Release(machines_);
  Release(instances_);
  Release(connections_);
  Release(received_);
  Release(replacedQueues_);
  registerSet_.Clear();
  Release(writtenSingles_);
  for (ActivitySet& set : sets_)
    set.Clear();
  Release(changedSinks_);
  Release(readyMachines_);
  Release(readyCounters_);
  Release(reconfiguration_.creations);
  reconfiguration_.needed = false;
  Release(realised_);
  Release(skipped_);
  Release(results_);
}

std::uint32_t Engine::NodeOf(const RuntimeInstance& node) const {
  const std::uint32_t n = nodeTable_.Find(node, [this](std::uint32_t k) { return nodes_[k].tree; });
  return n == NodeTable::kNoNode ? kNoIndex : n;
}

std::uint32_t Engine::RecordOf(RuntimeInstance& node) {
  if (const std::uint32_t n = NodeOf(node); n != kNoIndex)
    return n;
  const auto n = static_cast<std::uint32_t>(nodes_.size());
  nodes_.emplace_back().tree = &node;
  prepared_.push_back(0);
  compiled_.push_back(0);
  live_.push_back(0);
  skipping_.push_back(0);
  nodeTable_.Insert(n, [this](std::uint32_t k) { return nodes_[k].tree; });
  return n;
}

bool Engine::IsPrepared(const RuntimeInstance& node) const {
  const std::uint32_t n = NodeOf(node);
  return n != kNoIndex && prepared_[n] != 0;
}

std::vector<const RuntimeInstance*> Engine::Schedule() const {
  std::vector<const RuntimeInstance*> schedule;
  schedule.reserve(schedule_.size());
  for (const std::uint32_t n : schedule_)
    schedule.push_back(nodes_[n].tree);
  return schedule;
}

void Engine::Touch(std::uint32_t r) {
  if (registers_[r].last != 0)
    registerSet_.Insert(r);
  const std::uint32_t* watcher = watchers_.data() + watchStarts_[r];
  const std::uint32_t* end = watchers_.data() + watchStarts_[r + 1];
  for (; watcher != end; ++watcher)
    sets_[*watcher / kItemLimit].Insert(*watcher % kItemLimit);
  if (registers_[r].boundary != 0) {
    if (const std::uint32_t parent = nodes_[registerNode_[r]].parentItem; parent != kNoIndex)
      sets_[kInstanceItems].Insert(parent);
  }
}

// Every node of a module shares its entry, opened when the first of them is prepared.
void Engine::Prepare(RuntimeInstance& node, const Module& module) {
  try {
    ModuleEntry& entry = modules_[node.name];
    if (!entry.program)
      Open(entry, module);
    prepared_[RecordOf(node)] = 1;
  } catch (const std::bad_alloc&) {
    Unprepare(node);
    if (auto it = modules_.find(node.name);
        it != modules_.end() && it->second.stage != ModuleEntry::Stage::kReady) {
      modules_.erase(it);
    }
    library_.log().WriteText("エラー来たー");
  }
}

void Engine::Unprepare(RuntimeInstance& node) {
  if (const std::uint32_t n = NodeOf(node); n != kNoIndex)
    prepared_[n] = 0;
}

void Engine::Open(ModuleEntry& entry, const Module& design) {
  entry.program = std::make_unique<ModuleProgram>(design, names_);
  entry.compiled = std::make_unique<NetRuntime>(design);
}

Engine::ModuleEntry& Engine::EntryOf(const RuntimeInstance& node) {
  ModuleEntry& entry = modules_[node.name];
  if (!entry.program)  // forgotten after a failed compile
    Open(entry, library_.ModuleByName(node.name));
  return entry;
}

bool Engine::PlanPorts(const ModuleProgram& parent, std::size_t instance,
                       const RuntimeInstance& child, PortPlan& plan) {
  const ChildPorts* ports = IsPrepared(child) ? &EntryOf(child).program->ports : nullptr;
  return PlanInstancePorts(library_.log(), parent.PortArcsInto(instance, names_),
                           parent.PortArcsOutOf(instance, names_), ports, plan);
}

bool Engine::ParentHasPortArc(const RuntimeInstance& node, std::uint32_t name, bool into) {
  if (name == 0 || node.parent == nullptr || !IsPrepared(*node.parent))
    return false;
  return EntryOf(*node.parent).program->HasArcNamed(node.instanceNumber, name, into);
}

// The stages of the check in its order, those that depend on the module alone only at the
// module's first node. A module that fails them is forgotten, so that the next node to need it
// compiles it afresh and writes the same messages.
bool Engine::CompileModule(ModuleEntry& entry, RuntimeInstance& node, NodePorts& ports) {
  OutputLog& log = library_.log();
  ModuleProgram& program = *entry.program;
  using Stage = ModuleEntry::Stage;
  if (entry.stage == Stage::kOpened) {
    const Module& design = library_.ModuleByName(node.name);
    if (!PrepareRegisters(log, node.name, design, *entry.compiled) ||
        !CompileMachines(log, node.name, design, *entry.compiled)) {
      modules_.erase(node.name);
      return false;
    }
    PrepareSourcesAndSinks(design, nullptr, 0, *entry.compiled);
    entry.stage = Stage::kMachinesCompiled;
  }
  ports.Clear(program);
  PortPlan portPlan;
  for (std::size_t i = 0; i < program.instances.size(); ++i) {
    const InstanceProgram& instance = program.instances[i];
    const auto child = instance.hasNewArc ? node.children.end() : node.children.find(instance.id);
    if (child != node.children.end()) {
      if (!PlanPorts(program, i, *child->second, portPlan))
        return false;
      if (IsPrepared(*child->second))
        ports.Set(program, i, portPlan, *EntryOf(*child->second).program);
    }
    if (instance.hasNewArc) {
      const auto place = static_cast<std::uint32_t>(i);
      if (entry.stage == Stage::kReady || entry.dynamicPlans.contains(place))
        continue;
      DynamicInputPlan plan;
      if (!PlanDynamicInputs(log, library_.ModuleByName(node.name), instance.id, plan)) {
        log.WriteText("モジュールコンパイルエラー");
        return false;
      }
      entry.dynamicPlans.emplace(place, std::move(plan));
    }
  }
  if (entry.stage == Stage::kMachinesCompiled) {
    const Module& design = library_.ModuleByName(node.name);
    if (!CompileCounters(log, design, *entry.compiled)) {
      modules_.erase(node.name);
      return false;
    }
    program.Complete(design, *entry.compiled, entry.dynamicPlans, names_);
    program.number = static_cast<std::uint32_t>(programs_.size());
    programs_.push_back(&program);
    if (const auto count = nodesToBuild_.find(node.name); count != nodesToBuild_.end()) {
      ReserveNodes(program, count->second, node.name == library_.rootInstance().name);
      nodesToBuild_.erase(count);
    }
    entry.compiled.reset();
    entry.dynamicPlans.clear();
    entry.stage = Stage::kReady;
  }
  return true;
}

RuntimeInstance* Engine::CompileNode(RuntimeInstance& node,
                                     std::vector<RuntimeInstance*>* compiled) {
  if (!IsPrepared(node))
    return nullptr;
  ModuleEntry& entry = EntryOf(node);
  NodePorts ports;
  if (!CompileModule(entry, node, ports))
    return &node;
  const ModuleProgram& program = *entry.program;
  for (auto& [id, child] : node.children) {
    if (RuntimeInstance* failing = CompileNode(*child, compiled))
      return failing;
  }
  Instantiate(node, program, ports);
  if (compiled != nullptr)
    compiled->push_back(&node);
  return nullptr;
}

void Engine::AppendBlocks(std::uint32_t n, const ModuleProgram& program) {
  if (registers_.size() + program.registerIds.size() >= kNoIndex ||
      sinks_.size() + program.sinks.size() >= kItemLimit ||
      sources_.size() + program.sources.size() >= kItemLimit ||
      counters_.size() + program.counters.size() >= kItemLimit ||
      machines_.size() + program.machines.size() >= kItemLimit ||
      instances_.size() + program.instances.size() >= kItemLimit ||
      std::any_of(program.sources.begin(), program.sources.end(),
                  [](const SourceProgram& source) { return source.queueLength >= kQueueLimit; })) {
    throw std::bad_alloc();  // more than any memory holds
  }
  NodeRecord& node = nodes_[n];
  const RuntimeInstance& tree = *node.tree;
  node.program = program.number;
  node.registers = static_cast<std::uint32_t>(registers_.size());
  node.first[kSinkItems] = static_cast<std::uint32_t>(sinks_.size());
  node.first[kSourceItems] = static_cast<std::uint32_t>(sources_.size());
  node.first[kCounterItems] = static_cast<std::uint32_t>(counters_.size());
  node.first[kMachineItems] = static_cast<std::uint32_t>(machines_.size());
  node.first[kInstanceItems] = static_cast<std::uint32_t>(instances_.size());
  schedule_.push_back(n);

  // A boundary source or sink never acts: the parent's instance moves its tokens.
  for (const SinkProgram& sink : program.sinks) {
    SinkItem& item = sinks_.emplace_back();
    item.node = n;
    if (sink.input != kNoIndex && !ParentHasPortArc(tree, sink.name, false)) {
      item.input = node.registers + sink.input;
      item.received = static_cast<std::uint32_t>(received_.size());
      received_.emplace_back();
    }
  }
  for (const SourceProgram& source : program.sources) {
    SourceItem& item = sources_.emplace_back();
    item.node = n;
    if (source.output != kNoIndex && !ParentHasPortArc(tree, source.name, true))
      item.output = node.registers + source.output;
    item.queue = program.queues.data() + source.queueStart;
    item.queueLength = source.queueLength;
    item.holdValue = source.holdValue;
  }
  for (const CounterProgram& counter : program.counters)
    counters_.push_back({n, 0, node.registers, &counter, 0});
  for (const MachineProgram& machine : program.machines)
    machines_.push_back({n, 0, node.registers, &machine, 0, 0});
  for (std::size_t i = 0; i < program.instances.size(); ++i) {
    InstanceItem& item = instances_.emplace_back();
    item.node = n;
    item.local = static_cast<std::uint32_t>(i);
    item.hasNewArc = program.instances[i].hasNewArc;
    item.hasDeleteArc = program.instances[i].hasDeleteArc;
    item.connections = static_cast<std::uint32_t>(connections_.size());
    connections_.resize(connections_.size() + program.instances[i].inputArcs +
                        program.instances[i].outputArcs);
  }
  // Sources and sinks that never act watch nothing.
  for (std::size_t r = 0; r < program.registerIds.size(); ++r) {
    const std::uint32_t size = program.cellStarts[r + 1] - program.cellStarts[r];
    registers_.push_back({size <= kSlotCells ? 0 : cells_.size(),
                          static_cast<std::uint32_t>(size - 1), 0, program.boundary[r]});
    registerNode_.push_back(n);
    if (size > kSlotCells)
      cells_.resize(cells_.size() + size);
    for (std::uint32_t w = program.watchStarts[r]; w < program.watchStarts[r + 1]; ++w) {
      const Watcher& watcher = program.watchers[w];
      const std::uint32_t item = node.first[watcher.kind] + watcher.item;
      if ((watcher.kind == kSinkItems && sinks_[item].input == kNoIndex) ||
          (watcher.kind == kSourceItems && sources_[item].output == kNoIndex)) {
        continue;
      }
      watchers_.push_back(watcher.kind * kItemLimit + item);
    }
    watchStarts_.push_back(static_cast<std::uint32_t>(watchers_.size()));
  }

  registerSet_.Grow(registers_.size());
  writtenSingles_.reserve(registers_.size());
  sets_[kSinkItems].Grow(sinks_.size());
  sets_[kSourceItems].Grow(sources_.size());
  sets_[kCounterItems].Grow(counters_.size());
  sets_[kMachineItems].Grow(machines_.size());
  sets_[kInstanceItems].Grow(instances_.size());
  // Only a sink with a received list takes values, or starts its list again.
  changedSinks_.reserve(2 * received_.size());
  readyMachines_.reserve(machines_.size());
  readyCounters_.reserve(counters_.size());
  if (results_.size() < program.resultRoom)
    results_.resize(program.resultRoom);
}

// A node starts its life as its module's working copy starts: the initial cells and counts,
// the main states, the instances' flags, no connection to a child not yet wired.
void Engine::Instantiate(RuntimeInstance& tree, const ModuleProgram& program,
                         const NodePorts& ports) {
  const std::uint32_t n = RecordOf(tree);
  if (nodes_[n].program == kNoIndex)
    AppendBlocks(n, program);
  NodeRecord& node = nodes_[n];
  node.parentItem = kNoIndex;
  for (std::size_t r = 0; r < program.registerIds.size(); ++r) {
    const std::uint32_t shiftRegister = node.registers + static_cast<std::uint32_t>(r);
    std::copy(program.initialCells.begin() + static_cast<std::ptrdiff_t>(program.cellStarts[r]),
              program.initialCells.begin() + static_cast<std::ptrdiff_t>(program.cellStarts[r + 1]),
              WritableCells(shiftRegister));
    registers_[shiftRegister].written = 0;
  }
  for (std::size_t i = 0; i < program.sinks.size(); ++i) {
    const std::uint32_t sink = node.first[kSinkItems] + static_cast<std::uint32_t>(i);
    const std::uint32_t list = sinks_[sink].received;
    if (list != kNoIndex && !received_[list].empty()) {
      received_[list].clear();
      changedSinks_.push_back(sink);
    }
  }
  for (std::size_t i = 0; i < program.sources.size(); ++i)
    sources_[node.first[kSourceItems] + i].emitted = 0;
  for (std::size_t i = 0; i < program.counters.size(); ++i) {
    CounterItem& counter = counters_[node.first[kCounterItems] + i];
    counter.remaining = program.counters[i].reload;
    counter.ready = false;
  }
  for (std::size_t i = 0; i < program.machines.size(); ++i) {
    MachineItem& machine = machines_[node.first[kMachineItems] + i];
    machine.current = program.machines[i].mainIndex;
    machine.currentNumber = program.machines[i].mainNumber;
    machine.ready = false;
  }
  for (std::size_t i = 0; i < program.instances.size(); ++i) {
    const InstanceProgram& instance = program.instances[i];
    const std::uint32_t itemIndex = node.first[kInstanceItems] + static_cast<std::uint32_t>(i);
    InstanceItem& item = instances_[itemIndex];
    item.absent = instance.absent;
    item.created = instance.created;
    item.inputCount = 0;
    item.outputCount = 0;
    if (instance.hasNewArc) {
      // The check found every arc into it to come from a register.
      for (std::uint32_t k = 0; k < instance.inputArcs; ++k) {
        const std::uint32_t outer = program.instanceArcs[instance.arcs + k].shiftRegister;
        connections_[item.connections + item.inputCount++] = {node.registers + outer, kNoIndex};
      }
    } else if (ports.planned[i] != 0) {
      Connect(itemIndex, ports.InnerOf(program, i), NodeOf(*tree.children.at(instance.id)));
    }
  }
  compiled_[n] = 1;
  live_[n] = !tree.deleted && IsPrepared(tree) ? 1 : 0;
  ArmNode(n);
}

void Engine::NodePorts::Clear(const ModuleProgram& program) {
  planned.assign(program.instances.size(), 0);
  inner.assign(program.instanceArcs.size(), kNoIndex);
}

namespace {

// The inner registers of a successful plan, which has one pair for each arc in the arcs' order,
// as numbers in the child's program.
void InnerRegisters(const PortPlan& plan, const ModuleProgram& child, std::uint32_t* inner) {
  for (const auto* pairs : {&plan.inputs, &plan.outputs}) {
    for (const auto& [outer, innerId] : *pairs)
      *inner++ = child.RegisterIndex(innerId);
  }
}

}  // namespace

void Engine::NodePorts::Set(const ModuleProgram& program, std::size_t i, const PortPlan& plan,
                            const ModuleProgram& child) {
  InnerRegisters(plan, child, inner.data() + program.instances[i].arcs);
  planned[i] = 1;
}

std::span<const std::uint32_t> Engine::NodePorts::InnerOf(const ModuleProgram& program,
                                                          std::size_t i) const {
  const InstanceProgram& instance = program.instances[i];
  return std::span(inner).subspan(instance.arcs, instance.inputArcs + instance.outputArcs);
}

// A child without state (preparing it failed) has no ports, so its plan is empty.
void Engine::Connect(std::uint32_t itemIndex, std::span<const std::uint32_t> inner,
                     std::uint32_t child) {
  InstanceItem& item = instances_[itemIndex];
  item.inputCount = 0;
  item.outputCount = 0;
  if (child == kNoIndex || nodes_[child].program == kNoIndex)
    return;
  const NodeRecord& parent = nodes_[item.node];
  const NodeRecord& inside = nodes_[child];
  const ModuleProgram& program = ProgramOf(parent);
  const InstanceProgram& instance = program.instances[item.local];
  const InstanceArc* arcs = program.instanceArcs.data() + instance.arcs;
  Connection* connection = connections_.data() + item.connections;
  for (std::size_t k = 0; k < inner.size(); ++k)
    connection[k] = {parent.registers + arcs[k].shiftRegister, inside.registers + inner[k]};
  item.inputCount = instance.inputArcs;
  item.outputCount = instance.outputArcs;
  nodes_[child].parentItem = itemIndex;
}

void Engine::Disconnect(std::uint32_t itemIndex) {
  const InstanceItem& item = instances_[itemIndex];
  Connection* connection = connections_.data() + item.connections;
  for (std::uint32_t k = 0; k < item.inputCount + item.outputCount; ++k)
    connection[k].inner = kNoIndex;
}

void Engine::ArmNode(std::uint32_t n) {
  const NodeRecord& node = nodes_[n];
  const ModuleProgram& program = ProgramOf(node);
  for (std::size_t i = 0; i < program.registerIds.size(); ++i)
    registerSet_.Insert(node.registers + i);
  for (std::size_t i = 0; i < program.sinks.size(); ++i)
    sets_[kSinkItems].Insert(node.first[kSinkItems] + i);
  for (std::size_t i = 0; i < program.sources.size(); ++i)
    sets_[kSourceItems].Insert(node.first[kSourceItems] + i);
  for (std::size_t i = 0; i < program.counters.size(); ++i)
    sets_[kCounterItems].Insert(node.first[kCounterItems] + i);
  for (std::size_t i = 0; i < program.machines.size(); ++i)
    sets_[kMachineItems].Insert(node.first[kMachineItems] + i);
  for (std::size_t i = 0; i < program.instances.size(); ++i)
    sets_[kInstanceItems].Insert(node.first[kInstanceItems] + i);
}

// After a deletion or a creation below `tree`: a node that was unprepared lost its state with
// its preparation.
void Engine::RefreshLive(const RuntimeInstance& tree) {
  if (const std::uint32_t n = NodeOf(tree); n != kNoIndex) {
    if (!IsPrepared(tree))
      compiled_[n] = 0;
    live_[n] = compiled_[n] != 0 && !tree.deleted ? 1 : 0;
  }
  for (const auto& [id, child] : tree.children)
    RefreshLive(*child);
}

// Before a creation rebuilds `tree`: only the nodes it compiles get state again, not those that
// are merely prepared below a node that "new" has still to create.
void Engine::ForgetStates(const RuntimeInstance& tree) {
  if (const std::uint32_t n = NodeOf(tree); n != kNoIndex) {
    compiled_[n] = 0;
    live_[n] = 0;
  }
  for (const auto& [id, child] : tree.children)
    ForgetStates(*child);
}

Engine::Mark Engine::MarkSizes() const {
  return {schedule_.size(),  registers_.size(),   watchers_.size(), cells_.size(),
          sinks_.size(),     sources_.size(),     counters_.size(), machines_.size(),
          instances_.size(), connections_.size(), received_.size()};
}

void Engine::ForgetAfter(const Mark& mark) {
  // The nodes keep their records, without blocks.
  for (std::size_t k = mark.schedule; k < schedule_.size(); ++k) {
    const std::uint32_t n = schedule_[k];
    nodes_[n].program = kNoIndex;
    compiled_[n] = 0;
    live_[n] = 0;
  }
  schedule_.resize(mark.schedule);
  registers_.resize(mark.registers);
  registerNode_.resize(mark.registers);
  watchStarts_.resize(mark.registers + 1);
  watchers_.resize(mark.watchers);
  cells_.resize(mark.cells);
  sinks_.resize(mark.sinks);
  sources_.resize(mark.sources);
  counters_.resize(mark.counters);
  machines_.resize(mark.machines);
  instances_.resize(mark.instances);
  connections_.resize(mark.connections);
  received_.resize(mark.received);
  registerSet_.Shrink(mark.registers);
  std::erase_if(writtenSingles_, [&mark](std::uint32_t r) { return r >= mark.registers; });
  std::erase_if(changedSinks_, [&mark](std::uint32_t i) { return i >= mark.sinks; });
  sets_[kSinkItems].Shrink(mark.sinks);
  sets_[kSourceItems].Shrink(mark.sources);
  sets_[kCounterItems].Shrink(mark.counters);
  sets_[kMachineItems].Shrink(mark.machines);
  sets_[kInstanceItems].Shrink(mark.instances);
}

// Creation with the engine's blocks: compiled nodes get theirs as they pass, and the
// instance's connections are rewired to the new child.
class Engine::Builder : public InstanceBuilder {
 public:
  Builder(Engine& engine, std::uint32_t item) : engine_(engine), item_(item) {}

  RuntimeInstance* Compile(RuntimeInstance& node,
                           std::vector<RuntimeInstance*>& compiled) override {
    return engine_.CompileNode(node, &compiled);
  }
  bool WirePorts(RuntimeInstance& child) override {
    const InstanceItem& item = engine_.instances_[item_];
    const NodeRecord& parent = engine_.nodes_[item.node];
    PortPlan plan;
    if (!engine_.PlanPorts(engine_.ProgramOf(parent), item.local, child, plan))
      return false;
    std::vector<std::uint32_t> inner(plan.inputs.size() + plan.outputs.size());
    InnerRegisters(plan, *engine_.EntryOf(child).program, inner.data());
    engine_.Connect(item_, inner, engine_.NodeOf(child));
    return true;
  }
  void Abandon() override {
    engine_.Disconnect(item_);
    InstanceItem& item = engine_.instances_[item_];
    item.absent = true;
    item.created = false;
    engine_.sets_[kInstanceItems].Insert(item_);
  }

 private:
  Engine& engine_;
  std::uint32_t item_;
};

// The creations one node's instances marked in phase 2, realised after them. A creation that
// fails forgets the blocks its nodes got.
void Engine::Reconfigure(std::uint32_t n, const StepHooks& hooks) {
  Reconfiguration& reconfiguration = reconfiguration_;
  if (!reconfiguration.needed)
    return;
  ++treeChanges_;
  library_.log().WriteText("再構成");
  RuntimeInstance& tree = *nodes_[n].tree;
  for (const std::uint32_t itemIndex : reconfiguration.creations) {
    const InstanceProgram& instance = ProgramOf(nodes_[n]).instances[instances_[itemIndex].local];
    if (auto child = tree.children.find(instance.id); child != tree.children.end())
      ForgetStates(*child->second);
    const Mark mark = MarkSizes();
    const std::size_t before = realised_.size();
    Builder builder(*this, itemIndex);
    const std::uint32_t local = instances_[itemIndex].local;
    const std::string& moduleName = names_.Name(ProgramOf(nodes_[n]).DynamicOf(local).moduleName);
    if (!RealiseCreation(library_, *this, tree, instance.id, moduleName, builder, realised_,
                         hooks)) {
      ForgetAfter(mark);
    }
    if (auto child = tree.children.find(instance.id); child != tree.children.end())
      RefreshLive(*child->second);
    for (std::size_t k = before; k < realised_.size(); ++k) {
      const std::uint32_t realised = NodeOf(*realised_[k]);
      skipping_[realised] = 1;
      skipped_.push_back(realised);
    }
    sets_[kInstanceItems].Insert(itemIndex);
  }
  if (hooks.treeChanged)
    hooks.treeChanged();
  reconfiguration.needed = false;
  reconfiguration.creations.clear();
}

}  // namespace pelkor
