// SPDX-License-Identifier: GPL-3.0-or-later
// The simulation: a step over a hierarchy of 10,000 instances of a small module (at most
// 3 ms; the reference step beside it for comparison), a step that advances a 1,000,000-cell
// register (at most 0.5 ms), the check of that hierarchy (at most 1 s), a full chain of 10,000
// inverter instances, and a chain of 100 alone and beside 100,000 idle ones, whose step may
// cost at most twice the chain's alone. The step benchmarks count the allocations made inside the
// timed steps, which must be none.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "model/module_library.h"
#include "sim/compile.h"
#include "sim/reference_simulation.h"
#include "sim/simulation.h"
#include "sim/step.h"

namespace {

// Every allocation made while `countingAllocations` is set.
bool countingAllocations = false;
std::size_t allocations = 0;

}  // namespace

// The replacements pair malloc with free, which the compiler cannot see through.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  if (countingAllocations)
    ++allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size))
    return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}

namespace pelkor {
namespace {

constexpr int kInstances = 10'000;
constexpr int kLongRegisterCells = 1'000'000;

int Register(Module& module, const std::string& contents, int size) {
  ShiftRegister shiftRegister;
  shiftRegister.contents = contents;
  shiftRegister.sizeFixed = true;
  shiftRegister.size = size;
  return module.AddShiftRegister(shiftRegister);
}

int Source(Module& module, const std::string& name, const std::string& data) {
  SourceTransition source;
  source.name = name;
  source.data = data;
  source.holdValue = true;
  return module.AddSource(source);
}

int Sink(Module& module, const std::string& name) {
  SinkTransition sink;
  sink.name = name;
  return module.AddSink(sink);
}

// Ten primitives: a port source "in" into a register read by a two-state machine, whose output
// and a locally held 1 feed a counter, whose output leaves through the port sink "out"; and a
// full register that never moves.
void BuildUnit(Module& unit) {
  const int in = Register(unit, "", 2);
  unit.AddArc(Source(unit, "in", ""), in, {}, "");
  StateMachine machine;
  machine.states[1].firstText.source = "x = a;";
  machine.states[1].secondText.source = "t = a | ~a;";
  machine.states[2].firstText.source = "x = ~a;";
  machine.states[2].secondText.source = "t = a | ~a;";
  machine.stateArcs[1] = Arc{1, 2, {}, "t"};
  machine.stateArcs[2] = Arc{2, 1, {}, "t"};
  machine.stateArcsOutOf = {{1, 1}, {2, 2}};
  machine.stateArcsInto = {{2, 1}, {1, 2}};
  machine.mainState = 1;
  machine.ResetNextIds();
  machine.Regenerate();
  const int machineId = unit.AddStateMachine(machine);
  const int middle = Register(unit, "", 2);
  unit.AddArc(in, machineId, {}, "");
  unit.AddArc(machineId, middle, {}, "");
  const int local = Register(unit, "", 3);
  unit.AddArc(Source(unit, "", "1"), local, {}, "");
  Counter counter;
  counter.countText.source = "y = b & c;";
  counter.countNumber = 2;
  counter.Regenerate();
  const int counterId = unit.AddCounter(counter);
  unit.AddArc(middle, counterId, {}, "b");
  unit.AddArc(local, counterId, {}, "c");
  const int out = Register(unit, "", 2);
  unit.AddArc(counterId, out, {}, "");
  unit.AddArc(out, Sink(unit, "out"), {}, "");
  Register(unit, "0101", 5);
}

// The top module chains the instances through one register each, from a held source to a
// sink; the tree gets one node per instance.
class Hierarchy {
 public:
  Hierarchy() {
    BuildUnit(*library.CreateModule("unit"));
    Module& top = library.ModuleByName("untitle");
    int previous = Register(top, "", 2);
    top.AddArc(Source(top, "", "1"), previous, {}, "");
    for (int i = 0; i < kInstances; ++i) {
      ModuleInstance instance;
      instance.moduleName = "unit";
      const int id = top.AddInstance(instance);
      const int next = Register(top, "", 2);
      top.AddArc(previous, id, {}, "in");
      top.AddArc(id, next, {}, "out");
      library.ExpandInstance(id, "unit", library.rootInstance());
      previous = next;
    }
    sink = Sink(top, "");
    top.AddArc(previous, sink, {}, "");
  }

  OutputLog log;
  ModuleLibrary library{log};
  Simulation simulation{library};
  ReferenceSimulation reference{library};
  int sink = 0;
};

// The workspace's engine, and the reference step for comparison.
struct EngineSteps {
  template <typename Net>
  static bool Check(Net& net) {
    return net.simulation.Check().failingNode == nullptr;
  }
  template <typename Net>
  static void Reserve(Net& net, std::size_t values) {
    net.simulation.ReserveReceived(net.library.rootInstance(), net.sink, values);
  }
  template <typename Net>
  static void Step(Net& net, StepActivity& activity) {
    net.simulation.Step(activity);
  }
};
struct ReferenceSteps {
  template <typename Net>
  static bool Check(Net& net) {
    return net.reference.Check().failingNode == nullptr;
  }
  template <typename Net>
  static void Reserve(Net& net, std::size_t values) {
    net.reference.Runtime(net.library.rootInstance())->FindSink(net.sink)->received.reserve(values);
  }
  template <typename Net>
  static void Step(Net& net, StepActivity& activity) {
    net.reference.Step(activity);
  }
};

// Runs steps, counting the allocations made inside them; the one sink's list of received
// values grows by design, so it is given room beforehand.
template <typename Engine, typename Net>
void TimeSteps(benchmark::State& state, Net& net, int warmUpSteps = 1000) {
  if (!Engine::Check(net)) {
    state.SkipWithError("check failed");
    return;
  }
  Engine::Reserve(net, std::size_t{1} << 24);
  StepActivity activity = 0;
  for (int i = 0; i < warmUpSteps; ++i)
    Engine::Step(net, activity);  // to the steady state: a chain of 100 inverters is full
  allocations = 0;
  countingAllocations = true;
  for (auto _ : state) {
    activity = 0;
    Engine::Step(net, activity);
    benchmark::DoNotOptimize(activity);
  }
  countingAllocations = false;
  state.counters["activity"] = activity;
  state.counters["allocations"] = static_cast<double>(allocations);
}

template <typename Engine>
void BM_StepHierarchyOf10000Instances(benchmark::State& state) {
  Hierarchy hierarchy;
  state.counters["primitives"] =
      static_cast<double>(kInstances * hierarchy.library.ModuleByName("unit").PrimitiveCount() +
                          hierarchy.library.ModuleByName("untitle").PrimitiveCount());
  TimeSteps<Engine>(state, hierarchy);
}
BENCHMARK(BM_StepHierarchyOf10000Instances<EngineSteps>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepHierarchyOf10000Instances<ReferenceSteps>)->Unit(benchmark::kMillisecond);

// A held source filling a full register of a million cells, drained by a sink: every step
// moves the whole run of tokens.
struct LongRegister {
  LongRegister() {
    Module& top = library.ModuleByName("untitle");
    const int shiftRegister =
        Register(top, std::string(kLongRegisterCells - 1, '1'), kLongRegisterCells);
    top.AddArc(Source(top, "", "1"), shiftRegister, {}, "");
    sink = Sink(top, "");
    top.AddArc(shiftRegister, sink, {}, "");
  }
  OutputLog log;
  ModuleLibrary library{log};
  Simulation simulation{library};
  int sink = 0;
};

void BM_StepMillionCellRegister(benchmark::State& state) {
  LongRegister net;
  TimeSteps<EngineSteps>(state, net);
}
BENCHMARK(BM_StepMillionCellRegister)->Unit(benchmark::kMicrosecond);

void BM_CheckHierarchyOf10000Instances(benchmark::State& state) {
  Hierarchy hierarchy;
  for (auto _ : state) {
    if (!EngineSteps::Check(hierarchy))
      state.SkipWithError("check failed");
    state.PauseTiming();
    hierarchy.simulation.End();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_CheckHierarchyOf10000Instances)->Unit(benchmark::kMillisecond);

// The inverter of the chain: port "a" into a one-cell register, a machine writing its inverse
// into another, which leaves through port "q".
void BuildInverter(Module& inverter) {
  const int in = Register(inverter, "", 1);
  inverter.AddArc(Source(inverter, "a", ""), in, {}, "");
  StateMachine machine;
  machine.states[1].firstText.source = "y = ~x;";
  machine.mainState = 1;
  machine.ResetNextIds();
  machine.Regenerate();
  const int machineId = inverter.AddStateMachine(machine);
  const int out = Register(inverter, "", 1);
  inverter.AddArc(in, machineId, {}, "x");
  inverter.AddArc(machineId, out, {}, "y");
  inverter.AddArc(out, Sink(inverter, "q"), {}, "");
}

// A held source driving a chain of inverter instances into a sink, and beside it inverter
// instances whose input never gets a token.
struct ChainBesideIdleInstances {
  ChainBesideIdleInstances(int chained, int idle) {
    BuildInverter(*library.CreateModule("inv"));
    Module& top = library.ModuleByName("untitle");
    int previous = Register(top, "", 1);
    top.AddArc(Source(top, "", "1"), previous, {}, "");
    const auto place = [&](int from) {
      ModuleInstance instance;
      instance.moduleName = "inv";
      const int id = top.AddInstance(instance);
      const int next = Register(top, "", 1);
      top.AddArc(from, id, {}, "a");
      top.AddArc(id, next, {}, "q");
      library.ExpandInstance(id, "inv", library.rootInstance());
      return next;
    };
    for (int i = 0; i < chained; ++i)
      previous = place(previous);
    sink = Sink(top, "");
    top.AddArc(previous, sink, {}, "");
    for (int i = 0; i < idle; ++i)
      place(Register(top, "", 1));
  }

  OutputLog log;
  ModuleLibrary library{log};
  Simulation simulation{library};
  int sink = 0;
};

void BM_StepChainOf100Instances(benchmark::State& state) {
  ChainBesideIdleInstances net(100, 0);
  TimeSteps<EngineSteps>(state, net);
}
BENCHMARK(BM_StepChainOf100Instances)->Unit(benchmark::kMicrosecond);

// The peer benchmark's chain, full: a token takes two steps through each inverter.
void BM_StepChainOf10000Instances(benchmark::State& state) {
  constexpr int kChained = 10'000;
  ChainBesideIdleInstances net(kChained, 0);
  TimeSteps<EngineSteps>(state, net, 3 * kChained);
}
BENCHMARK(BM_StepChainOf10000Instances)->Unit(benchmark::kMillisecond);

void BM_StepChainOf100InstancesBeside100000IdleOnes(benchmark::State& state) {
  ChainBesideIdleInstances net(100, 100'000);
  TimeSteps<EngineSteps>(state, net);
}
BENCHMARK(BM_StepChainOf100InstancesBeside100000IdleOnes)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pelkor
