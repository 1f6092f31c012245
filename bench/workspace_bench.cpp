// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a whole hierarchy: 1,000 module files in a tree four levels deep; stepping the chain
// as the desktop does; going back on the chain at step 50,000 (one step back at most 50 ms, to
// any earlier step at most 250 ms, the moments kept within the memory budget); and the core's
// share of each mouse move of a drag over a large module.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "edit/command_table.h"
#include "workspace/workspace.h"

namespace pelkor {
namespace {

namespace fs = std::filesystem;

class NoUi : public WorkspaceUi {
 public:
  std::optional<fs::path> ChooseFile(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<std::string> AskModuleName() override { return std::nullopt; }
};

// Writes module `name` with up to ten primitives: its child instances first, then shift
// registers to make up ten.
void WriteModuleFile(const fs::path& folder, const std::string& name,
                     const std::vector<std::string>& children) {
  std::ofstream out(folder / (name + ".dtn"), std::ios::binary);
  out << "//pelkor file\r\n";
  int number = 1;
  for (; number <= 10 - static_cast<int>(children.size()); ++number) {
    out << "shift[" << number << "," << number * 40 << ",80,0,1,2]{\r\n01}\r\n";
  }
  for (const std::string& child : children) {
    out << "module[" << number << "," << number * 40 << ",160]{\r\n" << child << "}\r\n";
    ++number;
  }
}

// 1 + 10 + 100 + 889 modules, each instanced once by its parent.
fs::path WriteHierarchy() {
  const fs::path folder = fs::temp_directory_path() / "pelkor_bench_hierarchy";
  fs::remove_all(folder);
  fs::create_directories(folder);
  int leaves = 0;
  std::vector<std::string> level1;
  for (int a = 0; a < 10; ++a) {
    const std::string nameA = "m" + std::to_string(a);
    std::vector<std::string> level2;
    for (int b = 0; b < 10; ++b) {
      const std::string nameB = nameA + "_" + std::to_string(b);
      std::vector<std::string> level3;
      for (int c = 0; c < 9 && leaves < 889; ++c, ++leaves) {
        level3.push_back(nameB + "_" + std::to_string(c));
        WriteModuleFile(folder, level3.back(), {});
      }
      WriteModuleFile(folder, nameB, level3);
      level2.push_back(nameB);
    }
    WriteModuleFile(folder, nameA, level2);
    level1.push_back(nameA);
  }
  WriteModuleFile(folder, "top", level1);
  return folder;
}

void BM_OpenHierarchyOf1000Files(benchmark::State& state) {
  const fs::path folder = WriteHierarchy();
  NoUi ui;
  Workspace workspace(ui);
  for (auto _ : state) {
    workspace.OpenFile(folder / "top.dtn");
    benchmark::DoNotOptimize(workspace.library().modules().size());
  }
  if (workspace.library().modules().size() != 1001)
    state.SkipWithError("not every module loaded");
  fs::remove_all(folder);
}
BENCHMARK(BM_OpenHierarchyOf1000Files)->Unit(benchmark::kMillisecond);

// The peer benchmark's chain as files: a held source, `stages` inverter instances, a sink.
fs::path WriteChain(int stages = 10'000) {
  const fs::path folder = fs::temp_directory_path() / "pelkor_bench_chain";
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::ofstream inverter(folder / "inv.dtn", std::ios::binary);
  inverter << "//pelkor file\r\nshift[1,100,100,0,1,2]{\r\n}\r\nshift[2,300,100,0,1,2]{\r\n}\r\n"
              "state[3,200,100,1]{\r\nsub[1,10,10]{\r\n{y = ~x;}\r\n{}}\r\n}\r\n"
              "uhzi[4,40,100,0,0,0,a]{\r\n}\r\nkemmakix[5,360,100,0,0,q]{\r\n}\r\n"
              "arc[4,1]{}\r\narc[1,3]{x}\r\narc[3,2]{y}\r\narc[2,5]{}\r\n";
  const int kStages = stages;
  std::ofstream chain(folder / "chain.dtn", std::ios::binary);
  chain << "//pelkor file\r\n";
  // Registers 1..kStages + 1, the source, the sink, then the instances.
  for (int i = 1; i <= kStages + 1; ++i)
    chain << "shift[" << i << "," << i * 100 << ",100,0,1,2]{\r\n}\r\n";
  const int source = kStages + 2;
  const int sink = kStages + 3;
  chain << "uhzi[" << source << ",-60,100,1,0,0,]{\r\n1}\r\n";  // held at 1
  chain << "kemmakix[" << sink << ",0,200,2,0,]{\r\n}\r\n";     // discards
  for (int i = 1; i <= kStages; ++i)
    chain << "module[" << sink + i << "," << i * 100 << ",200]{\r\ninv}\r\n";
  chain << "arc[" << source << ",1]{}\r\n";
  for (int i = 1; i <= kStages; ++i) {
    chain << "arc[" << i << "," << sink + i << "]{a}\r\narc[" << sink + i << "," << i + 1
          << "]{q}\r\n";
  }
  chain << "arc[" << kStages + 1 << "," << sink << "]{}\r\n";
  return folder;
}

// A step as the desktop application runs it, which also records the waveform of the module
// shown (the chain's top module, about 10,000 signals), once the tokens fill the chain.
void BM_WorkspaceStepOfTheChainWithWaveforms(benchmark::State& state) {
  const fs::path folder = WriteChain();
  NoUi ui;
  Workspace workspace(ui);
  workspace.OpenFile(folder / "chain.dtn");
  workspace.Check();
  if (!workspace.IsSimulating()) {
    state.SkipWithError("the chain did not check");
    return;
  }
  for (int i = 0; i < 25'000; ++i)
    workspace.Step();
  for (auto _ : state)
    workspace.Step();
  fs::remove_all(folder);
}
BENCHMARK(BM_WorkspaceStepOfTheChainWithWaveforms)->Unit(benchmark::kMillisecond);

double MillisecondsOf(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// The chain run to step 50,000 as the desktop runs it, waveforms of its 10,000 signals
// included, or without waveforms as pelkor-cli serve runs it; then one step back from there
// (five times, each after stepping forward again), and a jump to the step just before the
// moment that ends the widest gap between kept moments: near the present, and far back.
void GoBackOnTheChain(benchmark::State& state, bool waveforms) {
  constexpr std::int64_t kPresent = 50'000;
  const fs::path folder = WriteChain();
  NoUi ui;
  Workspace workspace(ui);
  workspace.SetRecordHistory(waveforms);
  workspace.OpenFile(folder / "chain.dtn");
  workspace.Check();
  const double forward = MillisecondsOf([&] { workspace.GoToStep(kPresent); });
  const RunTimeline& timeline = workspace.session().timeline();
  const double bytes = static_cast<double>(timeline.Bytes());
  const double moments = static_cast<double>(timeline.size());
  // The step before the moment that ends the widest gap among those from `from` on.
  const auto worstTarget = [&timeline](std::int64_t from) {
    const std::vector<std::int64_t> steps = timeline.Steps();
    std::int64_t target = 0;
    std::int64_t widest = 0;
    for (std::size_t k = 1; k < steps.size(); ++k) {
      if (steps[k - 1] >= from && steps[k] - steps[k - 1] >= widest) {
        widest = steps[k] - steps[k - 1];
        target = steps[k] - 1;
      }
    }
    return target;
  };
  double stepBack = 0;
  double nearJump = 0;
  double farJump = 0;
  for (auto _ : state) {
    for (int i = 0; i < 5; ++i) {
      workspace.GoToStep(kPresent);
      stepBack = std::max(stepBack, MillisecondsOf([&] { workspace.StepBack(); }));
    }
    workspace.GoToStep(kPresent);
    const std::int64_t near = worstTarget(kPresent - 5'000);
    nearJump = MillisecondsOf([&] { workspace.GoToStep(near); });
    workspace.GoToStep(kPresent);
    const std::int64_t far = worstTarget(0);
    farJump = MillisecondsOf([&] { workspace.GoToStep(far); });
  }
  if (moments < 2)
    state.SkipWithError("the chain did not run");
  state.counters["forward_s"] = forward / 1000;
  state.counters["step_back_ms"] = stepBack;
  state.counters["near_jump_ms"] = nearJump;
  state.counters["far_jump_ms"] = farJump;
  state.counters["moments"] = moments;
  state.counters["moments_MiB"] = bytes / (1 << 20);
  state.counters["budget_MiB"] = static_cast<double>(timeline.budget()) / (1 << 20);
  fs::remove_all(folder);
}

void BM_GoingBackOnTheChainAtStep50000WithWaveforms(benchmark::State& state) {
  GoBackOnTheChain(state, true);
}
BENCHMARK(BM_GoingBackOnTheChainAtStep50000WithWaveforms)->Iterations(1)->Unit(benchmark::kSecond);

void BM_GoingBackOnTheChainAtStep50000(benchmark::State& state) {
  GoBackOnTheChain(state, false);
}
BENCHMARK(BM_GoingBackOnTheChainAtStep50000)->Iterations(1)->Unit(benchmark::kSecond);

// What the core does for each mouse move of a drag over a module of 10,003 primitives (a chain of
// 5,000 stages): the move tool moves the object, and the desktop then refreshes every command's
// state and the title's modified mark.
void BM_DragOverALargeModule(benchmark::State& state) {
  const fs::path folder = WriteChain(5'000);
  NoUi ui;
  Workspace workspace(ui);
  workspace.OpenFile(folder / "chain.dtn");
  workspace.ResizeView(1200, 900);
  Frame frame;
  workspace.PaintView(frame);
  workspace.ChooseTool(CommandId::kMoveTool);
  workspace.MousePress({100, 100});  // the first register
  if (!workspace.HasSelection()) {
    state.SkipWithError("nothing to drag");
    return;
  }
  const std::span<const CommandInfo> commands = Commands();
  int x = 100;
  for (auto _ : state) {
    x = x == 100 ? 140 : 100;
    workspace.MouseMove({x, 120});
    for (const CommandInfo& command : commands)
      benchmark::DoNotOptimize(workspace.Query(command.id));
    benchmark::DoNotOptimize(workspace.IsModified(workspace.library().currentInstance().name));
  }
  state.counters["primitives"] =
      static_cast<double>(workspace.library().currentModule().PrimitiveCount());
  workspace.MouseRelease({x, 120});
  fs::remove_all(folder);
}
BENCHMARK(BM_DragOverALargeModule)->Unit(benchmark::kMicrosecond);

// BM_ServeRunOf40000Steps in-process, without the protocol: what the engine itself takes.
void BM_WorkspaceRunOf40000Steps(benchmark::State& state) {
  NoUi ui;
  Workspace workspace(ui);
  workspace.SetRecordHistory(false);
  std::int64_t steps = 0;
  for (auto _ : state) {
    state.PauseTiming();
    workspace.EndSimulation();
    workspace.OpenFile(PELKOR_EXAMPLES "/full_adder.dtn");
    workspace.Check();
    const RuntimeInstance& root = workspace.library().rootInstance();
    for (const auto& [id, source] : workspace.library().ModuleByName("full_adder").sources) {
      std::vector<std::uint8_t> values(20'000);
      for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<std::uint8_t>(i % 2);
      workspace.ReplaceSourceValues(root, id, std::move(values));
    }
    state.ResumeTiming();
    steps += workspace.RunWithoutAnimation().steps;
  }
  state.SetItemsProcessed(steps);
}
BENCHMARK(BM_WorkspaceRunOf40000Steps)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelkor
