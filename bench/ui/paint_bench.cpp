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

// Primitives of every kind, in rows and columns that fill the client area at `zoomLevel`, each
// register joined by an arc to the primitive after it, with names and contents to label.
Module Crowd(int zoomLevel) {
  const int scale = 1 << zoomLevel;
  Module module;
  int previousRegister = 0;
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const Point at{column * kWidth * scale / kColumns + 20, row * kHeight * scale / kRows + 20};
      int id = 0;
      switch ((row + column) % 6) {
        case 0: {
          ShiftRegister shiftRegister;
          shiftRegister.position = at;
          shiftRegister.contents = "0110";
          shiftRegister.size = 4;
          id = module.AddShiftRegister(shiftRegister);
          break;
        }
        case 1: {
          StateMachine machine;
          machine.position = at;
          machine.twoStepMode = column % 2 == 0;
          id = module.AddStateMachine(machine);
          break;
        }
        case 2: {
          Counter counter;
          counter.position = at;
          counter.countNumber = column;
          id = module.AddCounter(counter);
          break;
        }
        case 3: {
          ModuleInstance instance;
          instance.position = at;
          instance.moduleName = "adder";
          id = module.AddInstance(instance);
          break;
        }
        case 4: {
          SourceTransition source;
          source.position = at;
          source.name = "in";
          id = module.AddSource(source);
          break;
        }
        default: {
          SinkTransition sink;
          sink.position = at;
          sink.name = "out";
          id = module.AddSink(sink);
          break;
        }
      }
      if (previousRegister != 0 && (row + column) % 6 != 0)
        module.AddArc(previousRegister, id, {}, "a");
      previousRegister = (row + column) % 6 == 0 ? id : 0;
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

void BM_BuildFrame(benchmark::State& state) {
  const int zoomLevel = static_cast<int>(state.range(0));
  const Module module = Crowd(zoomLevel);
  const ViewState view = FullHd(zoomLevel);
  const ViewStyle style;
  Frame frame;
  HitMap hits;
  for (auto _ : state) {
    PaintScene(module, view, style, nullptr, {}, frame, &hits);
    benchmark::DoNotOptimize(frame.picture.ops.data());
  }
  state.counters["ops"] = static_cast<double>(frame.picture.ops.size());
}
BENCHMARK(BM_BuildFrame)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_ReplayFrame(benchmark::State& state) {
  const int zoomLevel = static_cast<int>(state.range(0));
  const Module module = Crowd(zoomLevel);
  Frame frame;
  PaintScene(module, FullHd(zoomLevel), ViewStyle{}, nullptr, {}, frame, nullptr);
  DrawListPainter painter;
  QImage backBuffer;
  for (auto _ : state) {
    painter.Render(frame.picture, backBuffer);
    benchmark::DoNotOptimize(backBuffer.constBits());
  }
}
BENCHMARK(BM_ReplayFrame)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// What the view does for every paint.
void BM_Frame(benchmark::State& state) {
  const int zoomLevel = static_cast<int>(state.range(0));
  const Module module = Crowd(zoomLevel);
  const ViewState view = FullHd(zoomLevel);
  const ViewStyle style;
  Frame frame;
  HitMap hits;
  DrawListPainter painter;
  QImage backBuffer;
  for (auto _ : state) {
    PaintScene(module, view, style, nullptr, {}, frame, &hits);
    painter.Render(frame.picture, backBuffer);
    benchmark::DoNotOptimize(backBuffer.constBits());
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
