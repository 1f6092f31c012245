// SPDX-License-Identifier: GPL-3.0-or-later
// The editing operations on a large module: recording an edit of 10,000 primitives
// and 20,000 arcs (at most 5 ms), and copying and pasting 1,000 selected primitives (at most
// 5 ms).
#include <benchmark/benchmark.h>

#include <memory>

#include "base/errors.h"
#include "model/clipboard.h"
#include "model/module.h"

namespace pelkor {
namespace {

constexpr int kPairs = 5000;  // each a register and a transition: 10,000 primitives

template <typename Record>
Record At(Point p) {
  Record r;
  r.position = p;
  return r;
}

// The transition of pair i, of one of five kinds in turn, with the texts a designer types.
void AddTransition(Module& m, int i, Point p) {
  switch (i % 5) {
    case 0: {
      Counter c = At<Counter>(p);
      c.countText.source = "sum = a ^ b;\r\ncarry = a & b;";
      c.countNumber = 4;
      try {
        c.Regenerate();  // snapshots copy the derived forms too
      } catch (const MessageError&) {
      }
      m.AddCounter(c);
      break;
    }
    case 1: {
      StateMachine machine = At<StateMachine>(p);
      machine.states[1].firstText.source = "x = a & b;";
      machine.states[1].secondText.source = "go = a;";
      machine.states[2].secondText.source = "back = ~a;";
      machine.stateArcs[1] = {1, 2, {}, "go"};
      machine.stateArcs[2] = {2, 1, {{40, 40}}, "back"};
      machine.stateArcsOutOf = {{1, 1}, {2, 2}};
      machine.stateArcsInto = {{2, 1}, {1, 2}};
      machine.ResetNextIds();
      m.AddStateMachine(machine);
      break;
    }
    case 2: {
      ModuleInstance instance = At<ModuleInstance>(p);
      instance.moduleName = "adder";
      m.AddInstance(instance);
      break;
    }
    case 3: {
      SourceTransition source = At<SourceTransition>(p);
      source.name = "in";
      source.data = "1\r\n0\r\n1";
      m.AddSource(source);
      break;
    }
    default: {
      SinkTransition sink = At<SinkTransition>(p);
      sink.name = "out";
      sink.expected = "1\r\n0";
      m.AddSink(sink);
      break;
    }
  }
}

// Pairs laid out in rows; registers get IDs 1..5000, transitions 5001..10000. Every transition
// has four arcs to neighbouring registers, in the directions its kind allows.
Module LargeModule() {
  Module m;
  for (int i = 0; i < kPairs; ++i) {
    ShiftRegister r = At<ShiftRegister>({i % 100 * 80, i / 100 * 80});
    r.contents = "0110";
    m.AddShiftRegister(r);
  }
  for (int i = 0; i < kPairs; ++i)
    AddTransition(m, i, {i % 100 * 80 + 40, i / 100 * 80 + 40});
  for (int i = 0; i < kPairs; ++i) {
    const int transition = kPairs + 1 + i;
    const ObjectKind kind = m.KindOf(transition);
    for (int k = 0; k < 4; ++k) {
      const int reg = 1 + (i + k) % kPairs;
      const bool intoRegister = kind == kSourceKind || (kind != kSinkKind && k % 2 == 1);
      const std::vector<Point> bends =
          k == 0 ? std::vector<Point>{} : std::vector<Point>{{i % 100 * 80 + 20, k * 10}};
      if (intoRegister) {
        m.AddArc(transition, reg, bends, "q");
      } else {
        m.AddArc(reg, transition, bends, k % 2 == 0 ? "a" : "b");
      }
    }
  }
  return m;
}

// The steady state of editing: one object moved and the edit recorded, with the history full,
// so that every record also drops the oldest state.
void BM_RecordEdit(benchmark::State& state) {
  Module m = LargeModule();
  m.ResetHistory();
  Point& moved = m.shiftRegisters.begin()->second.position;
  for (int i = 0; i < 11; ++i) {
    moved.x += 1;
    m.RecordEdit();
  }
  for (auto _ : state) {
    moved.x += 1;
    m.RecordEdit();
  }
  state.counters["primitives"] = static_cast<double>(m.PrimitiveCount());
  state.counters["arcs"] = static_cast<double>(m.arcs.size());
}
BENCHMARK(BM_RecordEdit)->Unit(benchmark::kMillisecond);

// 1,000 connected primitives of the large module selected: the first 500 registers and the
// transitions 5001..5500.
Module ModuleWithSelection() {
  Module m = LargeModule();
  for (int i = 1; i <= 500; ++i) {
    m.selection.Add(m, i);
    m.selection.Add(m, kPairs + i);
  }
  return m;
}

void BM_Copy1000(benchmark::State& state) {
  const Module m = ModuleWithSelection();
  OutputLog log;
  for (auto _ : state)
    benchmark::DoNotOptimize(CopySelection(m, {0, 0}, log));
  state.counters["arcs"] = static_cast<double>(CopySelection(m, {0, 0}, log).arcs.size());
}
BENCHMARK(BM_Copy1000)->Unit(benchmark::kMillisecond);

// Each paste goes into a fresh copy of the large module, prepared outside the timing.
void BM_Paste1000(benchmark::State& state) {
  const Module m = ModuleWithSelection();
  OutputLog log;
  const Module clipboard = CopySelection(m, {0, 0}, log);
  for (auto _ : state) {
    state.PauseTiming();
    auto target = std::make_unique<Module>(m);
    state.ResumeTiming();
    benchmark::DoNotOptimize(PasteClipboard(clipboard, *target, {9000, 9000}));
    state.PauseTiming();
    target.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Paste1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelkor
