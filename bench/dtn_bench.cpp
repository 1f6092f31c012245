// SPDX-License-Identifier: GPL-3.0-or-later
// Writing and reading back a large design: 10,000 primitives and 20,000 arcs. Each direction
// should stay well under 50 ms, in memory and through a file (encoding, CR LF, safe save).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "files/design_file.h"

namespace pelkor {
namespace {

constexpr int kRegisters = 4000;
constexpr int kTransitions = 6000;  // counters, sources, sinks, instances, state machines
constexpr int kArcs = 20000;

StateMachine TwoStateMachine() {
  StateMachine machine;
  machine.mainState = 1;
  machine.states[1].isMain = true;
  machine.states[1].secondText.source = "go = a;\r\nstay = ~a;";
  machine.states[2].firstText.source = "x = a & b;";
  machine.states[2].secondText.source = "back = a | ~a;";
  machine.states[2].position = {60, 10};
  machine.stateArcs[1] = {1, 2, {}, "go"};
  machine.stateArcs[2] = {2, 1, {{40, 40}}, "back"};
  machine.stateArcsOutOf = {{1, 1}, {2, 2}};
  machine.stateArcsInto = {{2, 1}, {1, 2}};
  machine.ResetNextIds();
  return machine;
}

Module LargeModule() {
  Module m;
  for (int i = 0; i < kRegisters; ++i) {
    ShiftRegister r;
    r.position = {i * 40 % 4000, i / 100 * 40};
    r.contents = "0110\r\n1";
    r.direction = i % 3;
    m.AddShiftRegister(r);
  }
  for (int i = 0; i < kTransitions; ++i) {
    const Point position{i * 40 % 4000, 4000 + i / 100 * 40};
    switch (i % 5) {
      case 0: {
        Counter c;
        c.position = position;
        c.countText.source = "sum = a ^ b;\r\ncarry = a & b;";
        c.countNumber = 8;
        m.AddCounter(c);
        break;
      }
      case 1: {
        SourceTransition s;
        s.position = position;
        s.name = "入力" + std::to_string(i);
        s.data = "1\r\n0\r\nff";
        m.AddSource(s);
        break;
      }
      case 2: {
        SinkTransition s;
        s.position = position;
        s.name = "out" + std::to_string(i);
        s.expected = "1\r\n0";
        m.AddSink(s);
        break;
      }
      case 3: {
        ModuleInstance instance;
        instance.position = position;
        instance.moduleName = "半加算器";
        m.AddInstance(instance);
        break;
      }
      default: {
        StateMachine machine = TwoStateMachine();
        machine.position = position;
        m.AddStateMachine(machine);
        break;
      }
    }
  }
  for (int i = 0; i < kArcs; ++i) {
    const int reg = 1 + i % kRegisters;
    const int transition = kRegisters + 1 + i % kTransitions;
    std::vector<Point> bends;
    if (i % 4 == 0)
      bends = {{i % 4000, 100}, {i % 4000, 200}};
    if (i % 2 == 0) {
      m.AddArc(reg, transition, bends, "a");
    } else {
      m.AddArc(transition, reg, bends, "carry");
    }
  }
  return m;
}

const Module& Design() {
  static const Module module = LargeModule();
  return module;
}

void BM_WriteModule(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(WriteModule(Design()));
}
BENCHMARK(BM_WriteModule)->Unit(benchmark::kMillisecond);

void BM_ReadModule(benchmark::State& state) {
  const std::string text = WriteModule(Design());
  for (auto _ : state) {
    auto m = std::make_unique<Module>();
    ReadModule(text, *m);
    // Releasing the module is not part of reading it.
    state.PauseTiming();
    m.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ReadModule)->Unit(benchmark::kMillisecond);

const std::filesystem::path& BenchFile() {
  static const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "pelkor_dtn_bench.dtn";
  return path;
}

void BM_SaveDesignFile(benchmark::State& state) {
  for (auto _ : state) {
    if (SaveDesignFile(BenchFile(), Design()) != SaveResult::kSaved) {
      state.SkipWithError("save failed");
    }
  }
}
BENCHMARK(BM_SaveDesignFile)->Unit(benchmark::kMillisecond);

void BM_OpenDesignFile(benchmark::State& state) {
  SaveDesignFile(BenchFile(), Design());
  for (auto _ : state) {
    auto m = std::make_unique<Module>();
    ReadModule(ReadDesignFile(BenchFile())->text, *m);
    state.PauseTiming();
    m.reset();
    state.ResumeTiming();
  }
  std::filesystem::remove(BenchFile());
}
BENCHMARK(BM_OpenDesignFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelkor
