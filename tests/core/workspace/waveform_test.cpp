// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "../sim/sim_fixture.h"
#include "support/scripted_ui.h"
#include "support/workspace_probe.h"
#include "workspace/waveform/live_nodes.h"
#include "workspace/workspace.h"

namespace pelkor {
namespace {

using testing::AddInstance;
using testing::AddRegister;
using testing::AddSink;
using testing::AddSource;
using testing::Connect;

class TimerUi : public testing::ScriptedUi {
 public:
  void StartTimer(int) override { timerRunning = true; }
  void StopTimer() override { timerRunning = false; }
  bool timerRunning = false;
};

// What a sink took in one step, as seen from outside the history.
struct Arrival {
  std::int64_t step;
  int value;
  std::optional<int> expected;
};

class WaveformTest : public ::testing::Test {
 protected:
  WaveformTest() { workspace.AttachLog(&log); }

  Module& Top() { return testing::LibraryOf(workspace).currentModule(); }
  const RuntimeInstance& Root() { return testing::LibraryOf(workspace).rootInstance(); }

  // A source emitting `data` through a one-cell register into a sink expecting `expected`.
  struct Pipeline {
    int source, shiftRegister, sink;
  };
  Pipeline AddPipeline(const std::string& data, const std::string& expected) {
    Pipeline p;
    p.shiftRegister = AddRegister(Top());
    p.sink = AddSink(Top());
    p.source = AddSource(Top(), data);
    Top().sinks.at(p.sink).expected = expected;
    Connect(Top(), p.source, p.shiftRegister);
    Connect(Top(), p.shiftRegister, p.sink);
    return p;
  }
  void Check() {
    workspace.Check();
    ASSERT_TRUE(workspace.IsSimulating());
    log.lines.clear();
  }
  // Checks and runs `steps` steps; the VCD of the workspace's history, and that of a recorder
  // that sampled the same run one signal at a time.
  std::pair<std::string, std::string> HistoryAndRecorderVcd(int steps) {
    Check();
    VcdRecorder recorder;
    recorder.Sample(workspace.simulation(), Root(), 0);
    for (int step = 1; step <= steps; ++step) {
      workspace.Step();
      recorder.Sample(workspace.simulation(), Root(), step);
    }
    std::ostringstream fromHistory, fromRecorder;
    WriteVcd(fromHistory, workspace.history().VcdSignals());
    WriteVcd(fromRecorder, recorder.wires());
    return {fromHistory.str(), fromRecorder.str()};
  }
  std::vector<int> Received(int sink) {
    const auto received = workspace.simulation().Received(Root(), sink);
    return {received.begin(), received.end()};
  }
  // Steps `steps` times, noting every value the sink takes with the step it came in.
  std::vector<Arrival> StepAndWatch(int sink, const std::string& expected, int steps) {
    const std::vector<int> expectedBits = ExpectedBits(SinkWith(expected));
    std::vector<Arrival> arrivals;
    for (int step = 1; step <= steps; ++step) {
      const std::size_t before = Received(sink).size();
      workspace.Step();
      if (Received(sink).size() > before) {
        const std::size_t index = Received(sink).size() - 1;
        arrivals.push_back(
            {step, Received(sink).back(),
             index < expectedBits.size() ? std::optional(expectedBits[index]) : std::nullopt});
      }
    }
    return arrivals;
  }
  static SinkTransition SinkWith(const std::string& expected) {
    SinkTransition sink;
    sink.expected = expected;
    return sink;
  }
  static std::vector<std::int64_t> MismatchSteps(const std::vector<Arrival>& arrivals) {
    std::vector<std::int64_t> steps;
    for (const Arrival& arrival : arrivals) {
      if (arrival.expected != arrival.value)
        steps.push_back(arrival.step);
    }
    return steps;
  }
  std::size_t RowOf(SignalKind kind, int id) {
    const auto& rows = workspace.history().rows();
    for (std::size_t row = 0; row < rows.size(); ++row) {
      if (rows[row].signal == SignalRef{kind, id})
        return row;
    }
    ADD_FAILURE() << "no row";
    return 0;
  }

  testing::RecordingLog log;
  TimerUi ui;
  Workspace workspace{ui};
};

TEST_F(WaveformTest, SinkRowsShowEachArrivalWithItsExpectationAndMismatch) {
  struct Case {
    const char* data;
    const char* expected;
  };
  const Case cases[] = {{"1101", "1101"}, {"1101", "1111"}, {"0110", "01"}, {"101", "0000"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.data) + " against " + c.expected);
    workspace.EndSimulation();
    testing::LibraryOf(workspace).Reset();
    const Pipeline p = AddPipeline(c.data, c.expected);
    Check();
    const std::vector<Arrival> arrivals = StepAndWatch(p.sink, c.expected, 10);
    ASSERT_EQ(arrivals.size(), std::string(c.data).size());
    const SignalHistory& history = workspace.history();
    ASSERT_EQ(history.lastStep(), 10);
    const std::size_t sinkRow = RowOf(SignalKind::kSink, p.sink);
    for (std::int64_t step = 0; step <= 10; ++step) {
      const HistoryCell cell = history.At(sinkRow, step);
      const auto arrival = std::find_if(arrivals.begin(), arrivals.end(),
                                        [&](const Arrival& a) { return a.step == step; });
      if (arrival == arrivals.end()) {
        EXPECT_EQ(cell.value, kSignalEmpty) << step;
        EXPECT_FALSE(cell.mismatch) << step;
        continue;
      }
      EXPECT_EQ(cell.value, arrival->value) << step;
      EXPECT_EQ(cell.expected, arrival->expected) << step;
      EXPECT_EQ(cell.mismatch, arrival->expected != arrival->value) << step;
    }
    // "次の不一致" walks the departing steps in order.
    std::vector<std::int64_t> walked;
    for (auto next = history.NextMismatch(-1); next; next = history.NextMismatch(*next))
      walked.push_back(*next);
    EXPECT_EQ(walked, MismatchSteps(arrivals));
  }
}

TEST_F(WaveformTest, RowsAreTheRegisterExitsSinksAndSourcesOfTheShownNode) {
  const Pipeline p = AddPipeline("10", "");
  Check();
  const auto& rows = workspace.history().rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].signal, (SignalRef{SignalKind::kRegisterExit, p.shiftRegister}));
  EXPECT_EQ(rows[1].signal, (SignalRef{SignalKind::kSink, p.sink}));
  EXPECT_EQ(rows[2].signal, (SignalRef{SignalKind::kSource, p.source}));
  EXPECT_EQ(rows[0].path, "untitle");
  EXPECT_EQ(rows[1].Label(), "sink" + std::to_string(p.sink));
  for (int step = 1; step <= 4; ++step) {
    workspace.Step();
    const auto cells = workspace.simulation().Cells(Root(), p.shiftRegister);
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(workspace.history().At(0, step).value, cells.back());  // EMPTY reads as empty
  }
}

TEST_F(WaveformTest, OldestStepsGoFirstWhenTheHistoryOutgrowsItsLimit) {
  const Pipeline p = AddPipeline(std::string(40, '0'), "1");  // every value departs
  Check();
  SignalHistory history(400);
  ASSERT_TRUE(history.Watch(workspace.simulation(), Root(), "untitle"));
  EXPECT_FALSE(history.Watch(workspace.simulation(), Root(), "untitle"));
  history.Sample(workspace.simulation(), Root(), 0);
  for (int step = 1; step <= 30; ++step) {
    workspace.Step();
    history.Sample(workspace.simulation(), Root(), step);
  }
  EXPECT_EQ(history.lastStep(), 30);
  EXPECT_GT(history.droppedSteps(), 0);
  EXPECT_EQ(history.firstStep(), history.droppedSteps());
  EXPECT_EQ(history.At(1, history.firstStep() - 1).value, kSignalUnknown);
  // The sink's departures before the kept steps are gone with them.
  const std::optional<std::int64_t> next = history.NextMismatch(-1);
  ASSERT_TRUE(next);
  EXPECT_GE(*next, history.firstStep());
  EXPECT_TRUE(history.At(RowOf(SignalKind::kSink, p.sink), *next).mismatch);
}

TEST_F(WaveformTest, WatchingAnInstanceAddsItsRowsFromThenOn) {
  Module& cell = *testing::LibraryOf(workspace).CreateModule("cell");
  Connect(cell, AddSource(cell, "11"), AddRegister(cell));
  const int instance = AddInstance(Top(), "cell");
  testing::LibraryOf(workspace).AddInstanceEverywhere("cell", instance);
  Check();
  workspace.Step();
  const RuntimeInstance& child = *Root().children.at(instance);
  const std::size_t before = workspace.history().rows().size();
  ASSERT_TRUE(workspace.WatchTreeItem(child.treeItem));
  EXPECT_FALSE(workspace.WatchTreeItem(child.treeItem));
  const auto& rows = workspace.history().rows();
  ASSERT_EQ(rows.size(), before + 2);
  EXPECT_EQ(rows[before].path, "untitle/" + std::to_string(instance));
  EXPECT_EQ(rows[before].Label(),
            std::to_string(instance) + " reg" + std::to_string(rows[before].signal.id));
  workspace.Step();
  EXPECT_EQ(workspace.history().At(before, 1).value, kSignalUnknown);
  EXPECT_NE(workspace.history().At(before, 2).value, kSignalUnknown);
}

TEST_F(WaveformTest, TheHistorysVcdIsTheRecordersVcdOfTheSameRun) {
  AddPipeline("1101", "1111");
  const auto [fromHistory, fromRecorder] = HistoryAndRecorderVcd(8);
  EXPECT_EQ(fromHistory, fromRecorder);
  EXPECT_NE(fromHistory.find("$scope module untitle $end"), std::string::npos);
}

// The history reads a node's register exits in one pass, the recorder one signal at a time:
// they agree on registers short and long (beyond the cells a slot holds), full and empty.
TEST_F(WaveformTest, RegistersReadInOnePassAgreeWithTheRecorder) {
  for (const auto& [data, size] : {std::pair{"1101", 1}, {"0110", 3}, {"1", 9}}) {
    ShiftRegister& shiftRegister = Top().shiftRegisters.at(AddPipeline(data, "").shiftRegister);
    shiftRegister.size = size;
    shiftRegister.sizeFixed = true;
  }
  const auto [fromHistory, fromRecorder] = HistoryAndRecorderVcd(15);
  EXPECT_EQ(fromHistory, fromRecorder);
}

TEST_F(WaveformTest, GtkwGroupsTheSignalsByNodePathInTreeOrder) {
  const std::vector<VcdSignal> signals = {
      {"top/12", "reg1", {}}, {"top", "sink2", {}}, {"top/3", "src4", {}}, {"top/12", "sink5", {}}};
  std::ostringstream out;
  WriteGtkw(out, "/tmp/run.vcd", signals);
  std::vector<std::string> lines;
  std::istringstream in(out.str());
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  EXPECT_THAT(lines, ::testing::ElementsAre(
                         "[*] pelkor", "[dumpfile] \"/tmp/run.vcd\"",                //
                         "@800200", "-top", "@28", "top.sink2", "@1000200", "-top",  //
                         "@800200", "-top/3", "@28", "top.3.src4", "@1000200", "-top/3", "@800200",
                         "-top/12", "@28", "top.12.reg1", "top.12.sink5", "@1000200", "-top/12"));
}

TEST_F(WaveformTest, RunsStopAfterTheFirstStepInWhichASinkDeparts) {
  struct Case {
    const char* expected;
    bool stop;
  };
  const Case cases[] = {{"1100", true}, {"1100", false}, {"1101", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.expected) + (c.stop ? " stopping" : ""));
    // Where the run departs, seen step by step without the stop.
    testing::LibraryOf(workspace).Reset();
    const Pipeline p = AddPipeline("1101", c.expected);
    Check();
    const std::vector<std::int64_t> departures =
        MismatchSteps(StepAndWatch(p.sink, c.expected, 12));
    workspace.EndSimulation();

    workspace.SetStopAtMismatch(c.stop);
    Check();
    const RunOutcome outcome = workspace.RunWithoutAnimation();
    if (c.stop && !departures.empty()) {
      EXPECT_EQ(outcome.end, RunEnd::kMismatch);
      EXPECT_EQ(outcome.steps, departures.front());
      EXPECT_THAT(log.lines, ::testing::Contains("untitleのケムマキ" + std::to_string(p.sink) +
                                                 "がステップ" + std::to_string(departures.front()) +
                                                 "で期待と異なる値を受け取りました"));
      EXPECT_TRUE(workspace.IsPaused());
    } else {
      EXPECT_EQ(outcome.end, RunEnd::kIdle);
    }
    workspace.EndSimulation();
  }
}

TEST_F(WaveformTest, AnimatedRunPausesAtTheFirstDepartureAndSingleStepsDoNot) {
  const Pipeline p = AddPipeline("1101", "1001");
  workspace.SetStopAtMismatch(true);
  Check();
  workspace.Step();
  workspace.Step();
  workspace.Step();  // the second value, 1 for 0, came in by now
  EXPECT_FALSE(workspace.IsPaused());
  EXPECT_THAT(log.lines, ::testing::IsEmpty());

  workspace.EndSimulation();
  Check();
  workspace.Run();
  for (int tick = 0; tick < 20 && ui.timerRunning; ++tick)
    workspace.Tick();
  EXPECT_FALSE(ui.timerRunning);
  EXPECT_TRUE(workspace.IsPaused());
  EXPECT_EQ(Received(p.sink), (std::vector<int>{1, 1}));
  ASSERT_GE(log.lines.size(), 2u);
  EXPECT_EQ(log.lines[log.lines.size() - 1], "一時停止");
  EXPECT_THAT(log.lines[log.lines.size() - 2],
              ::testing::HasSubstr("で期待と異なる値を受け取りました"));
}

TEST_F(WaveformTest, RunEndWritesOneSummaryOfPassingAndFailingSinks) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> pipelines;  // data, expected
    std::string summary;  // with %d standing for the ID of the first failing sink
  };
  const Case cases[] = {
      {{{"10", "10"}, {"10", "11"}}, "照合結果: 合格1 不合格1 (untitleのケムマキ%d)"},
      {{{"10", "10"}, {"1", "10"}}, "照合結果: 合格1 不合格1 (untitleのケムマキ%d)"},  // too few
      {{{"10", "10"}}, "照合結果: 合格1 不合格0"},
      {{{"10", ""}}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.summary);
    testing::LibraryOf(workspace).Reset();
    std::vector<int> failing;
    for (const auto& [data, expected] : c.pipelines) {
      const Pipeline p = AddPipeline(data, expected);
      if (data != expected)
        failing.push_back(p.sink);
    }
    Check();
    workspace.RunWithoutAnimation();
    std::string summary = c.summary;
    if (const std::size_t at = summary.find("%d"); at != std::string::npos)
      summary.replace(at, 2, std::to_string(failing.front()));
    EXPECT_EQ(log.lines.back(), summary.empty() ? log.lines.back() : summary);
    EXPECT_EQ(log.lines.back().rfind("照合結果", 0) == 0, !summary.empty());
    workspace.EndSimulation();
  }
}

TEST_F(WaveformTest, NodePathsLeadBackToTheirNodes) {
  Module& cell = *testing::LibraryOf(workspace).CreateModule("cell");
  AddRegister(cell);
  const int instance = AddInstance(Top(), "cell");
  testing::LibraryOf(workspace).AddInstanceEverywhere("cell", instance);
  const RuntimeInstance& child = *Root().children.at(instance);
  const std::string childPath = "untitle/" + std::to_string(instance);
  EXPECT_EQ(NodePath(child), childPath);
  EXPECT_EQ(FindNode(Root(), childPath), &child);
  EXPECT_EQ(FindNode(Root(), "untitle"), &Root());
  for (const std::string& bad :
       std::vector<std::string>{"untitle/", "untitle/x", "untitled", "other", "untitle/99",
                                childPath + "/1", "untitle/99999999999999"}) {
    EXPECT_EQ(FindNode(Root(), bad), nullptr) << bad;
  }
}

}  // namespace
}  // namespace pelkor
