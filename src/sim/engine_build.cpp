// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's check and the creation of nodes: compiling each module once, giving every node
// its blocks of state, wiring instances to their children.
#include <new>

#include "sim/compile_steps.h"
#include "sim/engine.h"
#include "sim/step_parts.h"

namespace pelkor {

CheckOutcome Engine::Check() {
  Clear();
  CheckOutcome outcome;
  RuntimeInstance& root = library_.rootInstance();
  try {
    PrepareNets(root);
  } catch (...) {
    library_.log().WriteText("era-");
    outcome.prepareFailed = true;
  }
  CountNodesToBuild(root);
  std::vector<RuntimeInstance*> compiled;
  outcome.failingNode = CompileNode(root, compiled);
  nodesToBuild_.clear();
  AppendToSchedule(library_, compiled);
  Fit();
  return outcome;
}

void Engine::CountNodesToBuild(const RuntimeInstance& node) {
  if (!node.net)
    return;
  ++nodesToBuild_[node.name];
  for (const auto& [id, child] : node.children)
    CountNodesToBuild(*child);
}

// Room for `count` more nodes of a module, taken when its program is made: the arrays of a
// large hierarchy grow once per module, where growing by doubling would leave them up to twice
// the size they need while the check runs.
void Engine::ReserveNodes(const ModuleProgram& program, std::size_t count) {
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
  std::size_t connectionRoom = 0;
  for (const InstanceProgram& instance : program.instances)
    connectionRoom += instance.connectionRoom;
  for (auto* perNode : {&compiled_, &live_, &skipping_})
    reserve(*perNode, 1);
  reserve(nodes_, 1);
  reserve(registers_, program.registerIds.size());
  reserve(registerNode_, program.registerIds.size());
  reserve(watchStarts_, program.registerIds.size());
  reserve(watchers_, program.watchers.size());
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
  nodes_.shrink_to_fit();
  compiled_.shrink_to_fit();
  live_.shrink_to_fit();
  skipping_.shrink_to_fit();
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
  Release(modules_);
  Release(nodesToBuild_);
  Release(nodes_);
  Release(compiled_);
  Release(live_);
  Release(skipping_);
  Release(registers_);
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
  const std::uint32_t n = node.simulationSlot;
  return n < nodes_.size() && nodes_[n].tree == &node ? n : kNoIndex;
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

void Engine::PrepareNets(RuntimeInstance& node) {
  PrepareNetsWith(library_, node, [this](RuntimeInstance& prepared, const Module& module) {
    MakeWorkingCopy(prepared, module);
  });
}

// Every node of a module shares one working copy, made when the first of them needs it.
void Engine::MakeWorkingCopy(RuntimeInstance& node, const Module& module) {
  try {
    ModuleEntry& entry = modules_[node.name];
    if (!entry.net) {
      entry.net = std::make_shared<Module>(module);
      entry.compiled = std::make_unique<NetRuntime>(*entry.net);
    }
    node.net = entry.net;
  } catch (const std::bad_alloc&) {
    node.net.reset();
    if (auto it = modules_.find(node.name); it != modules_.end() && !it->second.program)
      modules_.erase(it);
    library_.log().WriteText("エラー来たー");
  }
}

// The stages of the check in its order, those that depend on the module alone only at the
// module's first node. A module that fails them is forgotten, so that the next node to need it
// compiles a fresh copy and writes the same messages.
bool Engine::CompileModule(ModuleEntry& entry, RuntimeInstance& node, NodePorts& ports) {
  OutputLog& log = library_.log();
  Module& net = *entry.net;
  using Stage = ModuleEntry::Stage;
  if (entry.stage == Stage::kCopied) {
    if (!PrepareRegisters(log, node.name, net, *entry.compiled) ||
        !CompileMachines(log, node.name, net, *entry.compiled)) {
      modules_.erase(node.name);
      return false;
    }
    PrepareSourcesAndSinks(net, nullptr, *entry.compiled);
    entry.dynamicPlans.assign(net.instances.size(), std::nullopt);
    entry.stage = Stage::kMachinesCompiled;
  }
  ports.Clear(net.instances.size());
  PortPlan portPlan;
  std::size_t place = 0;
  for (const auto& [id, instance] : net.instances) {
    const std::size_t i = place++;
    const auto child = instance.hasNewArc ? node.children.end() : node.children.find(id);
    if (child == node.children.end()) {
      ports.Add(nullptr);
    } else {
      if (!PlanInstancePorts(log, net, id, child->second->net.get(), portPlan))
        return false;
      ports.Add(&portPlan);
    }
    if (instance.hasNewArc) {
      if (entry.stage == Stage::kReady || entry.dynamicPlans[i])
        continue;
      DynamicInputPlan plan;
      if (!PlanDynamicInputs(log, net, id, plan)) {
        log.WriteText("モジュールコンパイルエラー");
        return false;
      }
      entry.dynamicPlans[i] = std::move(plan);
    }
  }
  if (entry.stage == Stage::kMachinesCompiled) {
    if (!CompileCounters(log, net, *entry.compiled)) {
      modules_.erase(node.name);
      return false;
    }
    entry.program = std::make_unique<ModuleProgram>(entry.net, *entry.compiled, entry.dynamicPlans);
    if (const auto count = nodesToBuild_.find(node.name); count != nodesToBuild_.end()) {
      ReserveNodes(*entry.program, count->second);
      nodesToBuild_.erase(count);
    }
    entry.compiled.reset();
    Release(entry.dynamicPlans);  // a large module has one per instance
    entry.stage = Stage::kReady;
  }
  return true;
}

RuntimeInstance* Engine::CompileNode(RuntimeInstance& node,
                                     std::vector<RuntimeInstance*>& compiled) {
  if (!node.net)
    return nullptr;
  ModuleEntry& entry = modules_[node.name];
  if (!entry.net) {  // a working copy given by someone else
    entry.net = node.net;
    entry.compiled = std::make_unique<NetRuntime>(*entry.net);
  }
  NodePorts ports;
  if (!CompileModule(entry, node, ports))
    return &node;
  const ModuleProgram& program = *entry.program;
  for (auto& [id, child] : node.children) {
    if (RuntimeInstance* failing = CompileNode(*child, compiled))
      return failing;
  }
  Instantiate(node, program, ports);
  compiled.push_back(&node);
  return nullptr;
}

std::uint32_t Engine::AppendNode(RuntimeInstance& tree, const ModuleProgram& program) {
  if (registers_.size() + program.registerIds.size() >= kNoIndex ||
      sinks_.size() + program.sinks.size() >= kItemLimit ||
      sources_.size() + program.sources.size() >= kItemLimit ||
      counters_.size() + program.counters.size() >= kItemLimit ||
      machines_.size() + program.machines.size() >= kItemLimit ||
      instances_.size() + program.instances.size() >= kItemLimit) {
    throw std::bad_alloc();  // more than any memory holds
  }
  const auto n = static_cast<std::uint32_t>(nodes_.size());
  NodeRecord& node = nodes_.emplace_back();
  node.tree = &tree;
  node.program = &program;
  node.registers = static_cast<std::uint32_t>(registers_.size());
  node.first[kSinkItems] = static_cast<std::uint32_t>(sinks_.size());
  node.first[kSourceItems] = static_cast<std::uint32_t>(sources_.size());
  node.first[kCounterItems] = static_cast<std::uint32_t>(counters_.size());
  node.first[kMachineItems] = static_cast<std::uint32_t>(machines_.size());
  node.first[kInstanceItems] = static_cast<std::uint32_t>(instances_.size());
  compiled_.push_back(0);
  live_.push_back(0);
  skipping_.push_back(0);
  tree.simulationSlot = n;

  // A boundary source or sink never acts: the parent's instance moves its tokens.
  const Module& net = *program.net;
  for (const SinkProgram& sink : program.sinks) {
    SinkItem& item = sinks_.emplace_back();
    item.node = n;
    if (sink.input != kNoIndex && !ParentHasPortArc(tree, net.sinks.at(sink.id).name, false)) {
      item.input = node.registers + sink.input;
      item.received = static_cast<std::uint32_t>(received_.size());
      received_.emplace_back();
    }
  }
  for (const SourceProgram& source : program.sources) {
    SourceItem& item = sources_.emplace_back();
    item.node = n;
    if (source.output != kNoIndex && !ParentHasPortArc(tree, net.sources.at(source.id).name, true))
      item.output = node.registers + source.output;
    item.queue = program.queues.data() + source.queueStart;
    item.queueLength = source.queueLength;
    item.holdValue = source.holdValue;
  }
  for (const CounterProgram& counter : program.counters)
    counters_.push_back({n, node.registers, &counter, 0, false});
  for (const MachineProgram& machine : program.machines)
    machines_.push_back({n, node.registers, &machine, 0, 0, false});
  for (std::size_t i = 0; i < program.instances.size(); ++i) {
    InstanceItem& item = instances_.emplace_back();
    item.node = n;
    item.local = static_cast<std::uint32_t>(i);
    item.hasNewArc = program.instances[i].hasNewArc;
    item.hasDeleteArc = program.instances[i].hasDeleteArc;
    item.connections = static_cast<std::uint32_t>(connections_.size());
    connections_.resize(connections_.size() + program.instances[i].connectionRoom);
  }
  // Sources and sinks that never act watch nothing.
  for (std::size_t r = 0; r < program.registerIds.size(); ++r) {
    const std::uint64_t size = program.cellStarts[r + 1] - program.cellStarts[r];
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
  changedSinks_.reserve(2 * sinks_.size());
  readyMachines_.reserve(machines_.size());
  readyCounters_.reserve(counters_.size());
  if (results_.size() < program.resultRoom)
    results_.resize(program.resultRoom);
  return n;
}

// A node starts its life as its module's working copy starts: the initial cells and counts,
// the main states, the instances' flags, no connection to a child not yet wired.
void Engine::Instantiate(RuntimeInstance& tree, const ModuleProgram& program,
                         const NodePorts& ports) {
  std::uint32_t n = NodeOf(tree);
  if (n == kNoIndex)
    n = AppendNode(tree, program);
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
    item.newArc = kNoIndex;
    item.deleteArc = kNoIndex;
    if (instance.hasNewArc) {
      for (const std::uint32_t outer : instance.dynamicInputs)
        connections_[item.connections + item.inputCount++] = {node.registers + outer, kNoIndex};
      if (instance.newArc != kNoIndex)
        item.newArc = node.registers + instance.newArc;
      if (instance.deleteArc != kNoIndex)
        item.deleteArc = node.registers + instance.deleteArc;
    } else if (ports.Planned(i)) {
      Connect(itemIndex, ports.InputsOf(i), ports.OutputsOf(i),
              NodeOf(*tree.children.at(instance.id)));
    }
  }
  compiled_[n] = 1;
  live_[n] = !tree.deleted && tree.net ? 1 : 0;
  ArmNode(n);
}

void Engine::NodePorts::Clear(std::size_t instances) {
  pairs.clear();
  starts.assign(1, 0);
  starts.reserve(instances + 1);
  inputs.clear();
  inputs.reserve(instances);
}

void Engine::NodePorts::Add(const PortPlan* plan) {
  if (plan != nullptr) {
    pairs.insert(pairs.end(), plan->inputs.begin(), plan->inputs.end());
    pairs.insert(pairs.end(), plan->outputs.begin(), plan->outputs.end());
  }
  inputs.push_back(plan != nullptr ? static_cast<std::uint32_t>(plan->inputs.size()) : kNoIndex);
  starts.push_back(static_cast<std::uint32_t>(pairs.size()));
}

Engine::NodePorts::Pairs Engine::NodePorts::InputsOf(std::size_t i) const {
  return Pairs(pairs).subspan(starts[i], inputs[i]);
}

Engine::NodePorts::Pairs Engine::NodePorts::OutputsOf(std::size_t i) const {
  return Pairs(pairs).subspan(starts[i] + inputs[i], starts[i + 1] - starts[i] - inputs[i]);
}

// A child without state (making its working copy failed) has no ports, so its plan is empty.
void Engine::Connect(std::uint32_t itemIndex, NodePorts::Pairs inputs, NodePorts::Pairs outputs,
                     std::uint32_t child) {
  InstanceItem& item = instances_[itemIndex];
  item.inputCount = 0;
  item.outputCount = 0;
  if (child == kNoIndex)
    return;
  const NodeRecord& parent = nodes_[item.node];
  const NodeRecord& inside = nodes_[child];
  Connection* connection = connections_.data() + item.connections;
  for (const NodePorts::Pairs pairs : {inputs, outputs}) {
    for (const auto& [outer, inner] : pairs) {
      *connection++ = {parent.registers + parent.program->RegisterIndex(outer),
                       inside.registers + inside.program->RegisterIndex(inner)};
    }
  }
  item.inputCount = static_cast<std::uint32_t>(inputs.size());
  item.outputCount = static_cast<std::uint32_t>(outputs.size());
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
  const ModuleProgram& program = *node.program;
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

// After a deletion or a creation below `tree`: a node that lost its working copy lost its state
// with it.
void Engine::RefreshLive(const RuntimeInstance& tree) {
  if (const std::uint32_t n = NodeOf(tree); n != kNoIndex) {
    if (!tree.net)
      compiled_[n] = 0;
    live_[n] = compiled_[n] != 0 && !tree.deleted ? 1 : 0;
  }
  for (const auto& [id, child] : tree.children)
    RefreshLive(*child);
}

// Before a creation rebuilds `tree`: only the nodes it compiles get state again, not those that
// merely get a working copy below a node that "new" has still to create.
void Engine::ForgetStates(const RuntimeInstance& tree) {
  if (const std::uint32_t n = NodeOf(tree); n != kNoIndex) {
    compiled_[n] = 0;
    live_[n] = 0;
  }
  for (const auto& [id, child] : tree.children)
    ForgetStates(*child);
}

Engine::Mark Engine::MarkSizes() const {
  return {nodes_.size(),     registers_.size(),   watchers_.size(), cells_.size(),
          sinks_.size(),     sources_.size(),     counters_.size(), machines_.size(),
          instances_.size(), connections_.size(), received_.size()};
}

void Engine::ForgetAfter(const Mark& mark) {
  nodes_.resize(mark.nodes);
  compiled_.resize(mark.nodes);
  live_.resize(mark.nodes);
  skipping_.resize(mark.nodes);
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

  void MakeWorkingCopy(RuntimeInstance& child, const Module& module) override {
    engine_.MakeWorkingCopy(child, module);
  }
  void PrepareNets(RuntimeInstance& node) override { engine_.PrepareNets(node); }
  RuntimeInstance* Compile(RuntimeInstance& node,
                           std::vector<RuntimeInstance*>& compiled) override {
    return engine_.CompileNode(node, compiled);
  }
  bool WirePorts(RuntimeInstance& child) override {
    const InstanceItem& item = engine_.instances_[item_];
    const NodeRecord& parent = engine_.nodes_[item.node];
    PortPlan plan;
    if (!PlanInstancePorts(engine_.library_.log(), *parent.program->net,
                           parent.program->instances[item.local].id, child.net.get(), plan)) {
      return false;
    }
    engine_.Connect(item_, plan.inputs, plan.outputs, engine_.NodeOf(child));
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
  library_.log().WriteText("再構成");
  RuntimeInstance& tree = *nodes_[n].tree;
  for (const std::uint32_t itemIndex : reconfiguration.creations) {
    const InstanceProgram& instance = nodes_[n].program->instances[instances_[itemIndex].local];
    if (auto child = tree.children.find(instance.id); child != tree.children.end())
      ForgetStates(*child->second);
    const Mark mark = MarkSizes();
    const std::size_t before = realised_.size();
    Builder builder(*this, itemIndex);
    const std::string& moduleName = nodes_[n].program->net->instances.at(instance.id).moduleName;
    if (!RealiseCreation(library_, tree, instance.id, moduleName, builder, realised_, hooks)) {
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
