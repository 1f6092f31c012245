// SPDX-License-Identifier: GPL-3.0-or-later
// One frame of the editor view at 1920 x 1080 with 10,000 primitives in sight: building the
// draw list and the hit map, replaying the list into the back buffer, and both together.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include "model/module.h"
#include "ui/draw_list_painter.h"
#include "view/scene.h"

namespace pelkor {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kColumns = 125;
constexpr int kRows = 80;  // 10,000 primitives

// One primitive of each kind at (0, 0), with something to label.
struct Prototypes {
  Prototypes() {
    shiftRegister.contents = "0110";
    shiftRegister.size = 4;
    switching.twoStepMode = true;
    counter.countNumber = 12;
    instance.moduleName = "adder";
    source.name = "in";
    sink.name = "out";
  }
  ShiftRegister shiftRegister;
  StateMachine machine;
  StateMachine switching;
  Counter counter;
  ModuleInstance instance;
  SourceTransition source;
  SinkTransition sink;
};

// Primitives of every kind, in rows and columns that fill the client area at `zoomLevel`, each
// register joined by an arc to the primitive after it, with names and contents to label.
Module Crowd(int zoomLevel) {
  const int scale = 1 << zoomLevel;
  const Prototypes prototypes;
  Module module;
  int previousRegister = 0;
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const Point at{column * kWidth * scale / kColumns + 20, row * kHeight * scale / kRows + 20};
      const int kind = (row + column) % 6;
      int id = 0;
      if (kind == 0)
        id = module.AddShiftRegister(prototypes.shiftRegister, at);
      else if (kind == 1)
        id =
            module.AddStateMachine(column % 2 == 0 ? prototypes.switching : prototypes.machine, at);
      else if (kind == 2)
        id = module.AddCounter(prototypes.counter, at);
      else if (kind == 3)
        id = module.AddInstance(prototypes.instance, at);
      else if (kind == 4)
        id = module.AddSource(prototypes.source, at);
      else
        id = module.AddSink(prototypes.sink, at);
      if (previousRegister != 0 && kind != 0)
        module.AddArc(previousRegister, id, {}, "a");
      previousRegister = kind == 0 ? id : 0;
    }
  }
  return module;
}

ViewState FullHd(int zoomLevel) {
  ViewState view;
  view.zoomLevel = zoomLevel;
  view.scale = 1 << zoomLevel;
  view.width = kWidth;
  view.height = kHeight;
  return view;
}

// The view's state between paints: the module shown, the frame and hit map it rebuilds, the
// replay with its sprites and the back buffer.
struct ViewOfCrowd {
  explicit ViewOfCrowd(int zoomLevel) : module(Crowd(zoomLevel)), view(FullHd(zoomLevel)) {}

  void Build() { PaintScene(module, view, style, nullptr, {}, frame, &hits); }
  void Replay() { painter.Render(frame.picture, backBuffer); }

  Module module;
  ViewState view;
  ViewStyle style;
  Frame frame;
  HitMap hits;
  DrawListPainter painter;
  QImage backBuffer;
};

void BM_BuildFrame(benchmark::State& state) {
  ViewOfCrowd crowd(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    crowd.Build();
    benchmark::DoNotOptimize(crowd.frame.picture.ops.data());
  }
  state.counters["ops"] = static_cast<double>(crowd.frame.picture.ops.size());
}
BENCHMARK(BM_BuildFrame)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_ReplayFrame(benchmark::State& state) {
  ViewOfCrowd crowd(static_cast<int>(state.range(0)));
  crowd.Build();
  for (auto _ : state) {
    crowd.Replay();
    benchmark::DoNotOptimize(crowd.backBuffer.constBits());
  }
}
BENCHMARK(BM_ReplayFrame)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// What the view does for every paint. Level 2 is where 10,000 boxes fit the window without
// overlapping; levels 0 and 1 pile them up to ten deep, with every label.
void BM_Frame(benchmark::State& state) {
  ViewOfCrowd crowd(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    crowd.Build();
    crowd.Replay();
    benchmark::DoNotOptimize(crowd.backBuffer.constBits());
  }
}
BENCHMARK(BM_Frame)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelkor

int main(int argc, char** argv) {
  // Fonts need a GUI application; the offscreen platform needs no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  pelkor::InstallFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
