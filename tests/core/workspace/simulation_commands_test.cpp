// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "../sim/sim_fixture.h"
#include "support/scripted_ui.h"
#include "support/workspace_probe.h"
#include "workspace/workspace.h"

namespace pelkor {
namespace {

using testing::AddInstance;
using testing::AddPort;
using testing::AddRegister;
using testing::AddSink;
using testing::AddSource;
using testing::Connect;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Keeps the timer and the module tree window as a desktop front end would.
class SimulationUi : public testing::ScriptedUi {
 public:
  void StartTimer(int interval) override {
    timerRunning = true;
    timerInterval = interval;
  }
  void StopTimer() override { timerRunning = false; }
  bool IsModuleTreeOpen() const override { return treeOpen; }
  void OpenModuleTree() override { treeOpen = true; }
  void CloseModuleTree() override { treeOpen = false; }

  bool timerRunning = false;
  int timerInterval = 0;
  bool treeOpen = false;
};

class SimulationCommandsTest : public ::testing::Test {
 protected:
  SimulationCommandsTest() {
    workspace.AttachLog(&log);
    workspace.SetClock([this] { return now; });
  }

  Module& Top() { return testing::LibraryOf(workspace).currentModule(); }

  // A source emitting `data` through a one-cell register into a sink; returns the sink.
  int Pipeline(const std::string& data, bool holdValue = false) {
    const int r = AddRegister(Top());
    const int sink = AddSink(Top());
    Connect(Top(), AddSource(Top(), data, "", holdValue ? testing::kHoldValue : 0), r);
    Connect(Top(), r, sink);
    return sink;
  }
  // A token waiting at the input of an instance that no "new" token created yet.
  void InputBeforeNew() {
    Module& cell = *testing::LibraryOf(workspace).CreateModule("cell");
    AddPort(cell, "new");
    AddPort(cell, "d");
    const int instance = AddInstance(Top(), "cell");
    Connect(Top(), AddRegister(Top()), instance, "new");
    Connect(Top(), AddRegister(Top(), "1"), instance, "d");
    testing::LibraryOf(workspace).RefreshNewDeleteFlags();
    testing::LibraryOf(workspace).AddInstanceEverywhere("cell", instance);
  }
  std::vector<int> Received(int sink) {
    const std::span<const std::uint8_t> received =
        workspace.simulation().Received(testing::LibraryOf(workspace).rootInstance(), sink);
    return {received.begin(), received.end()};
  }
  void Check() {
    workspace.Check();
    ASSERT_TRUE(workspace.IsSimulating());
    log.lines.clear();
  }

  testing::RecordingLog log;
  SimulationUi ui;
  Workspace workspace{ui};
  std::int64_t now = 0;
};

TEST_F(SimulationCommandsTest, CheckShowsTheRootAndOpensTheTreeWhichEndCloses) {
  Pipeline("1");
  workspace.Check();
  EXPECT_THAT(log.lines, ElementsAre("チェック完了"));
  EXPECT_TRUE(workspace.IsSimulating());
  EXPECT_EQ(&testing::LibraryOf(workspace).currentInstance(),
            &testing::LibraryOf(workspace).rootInstance());
  EXPECT_TRUE(workspace.simulation().IsPrepared(testing::LibraryOf(workspace).rootInstance()));
  EXPECT_TRUE(ui.treeOpen);

  workspace.EndSimulation();
  EXPECT_THAT(log.lines, ElementsAre("チェック完了", "シミュレーション停止"));
  EXPECT_FALSE(workspace.IsSimulating());
  EXPECT_FALSE(ui.treeOpen);
  EXPECT_FALSE(workspace.simulation().IsPrepared(testing::LibraryOf(workspace).rootInstance()));
  EXPECT_EQ(&testing::LibraryOf(workspace).currentModule(),
            &testing::LibraryOf(workspace).ModuleByName("untitle"));
  EXPECT_EQ(workspace.documentTitle(), "untitle");
}

// However the view moves to another node while simulating, the title names the node shown.
TEST_F(SimulationCommandsTest, TheTitleNamesTheNodeShownWhileSimulating) {
  Module& cell = *testing::LibraryOf(workspace).CreateModule("cell");
  AddPort(cell, "d");
  const int instance = AddInstance(Top(), "cell");
  Connect(Top(), AddRegister(Top(), "1"), instance, "d");
  testing::LibraryOf(workspace).AddInstanceEverywhere("cell", instance);
  Check();
  const RuntimeInstance& root = testing::LibraryOf(workspace).rootInstance();
  const RuntimeInstance& node = *root.children.at(instance);

  workspace.GoToTreeItem(node.treeItem);  // a pick in the module tree
  EXPECT_EQ(&testing::LibraryOf(workspace).currentInstance(), &node);
  EXPECT_EQ(workspace.documentTitle(), "cell");
  workspace.GoToTreeItem(root.treeItem);
  EXPECT_EQ(workspace.documentTitle(), "untitle");
  workspace.EnterInstance(instance);
  EXPECT_EQ(workspace.documentTitle(), "cell");
  workspace.EndSimulation();
  EXPECT_EQ(workspace.documentTitle(), "untitle");
}

TEST_F(SimulationCommandsTest, TreeOpenBeforeTheCheckStaysOpen) {
  ui.treeOpen = true;
  workspace.Check();
  workspace.EndSimulation();
  EXPECT_TRUE(ui.treeOpen);
}

TEST_F(SimulationCommandsTest, FailedCheckEndsTheSimulationAfterItsMessages) {
  AddRegister(Top(), "11", 2);
  workspace.Check();
  EXPECT_THAT(log.lines, ElementsAre("untitleのシフトレジスタ1にエラー", "シミュレーション停止"));
  EXPECT_FALSE(workspace.IsSimulating());
  EXPECT_TRUE(workspace.simulation().Schedule().empty());
}

TEST_F(SimulationCommandsTest, RootWithoutARegisteredModuleChecksPausedAndEndsCleanly) {
  testing::LibraryOf(workspace).rootInstance().name = "ghost";
  workspace.Check();
  EXPECT_THAT(log.lines, ElementsAre("era-", "モジュールがありません", "チェック完了"));
  EXPECT_TRUE(workspace.IsPaused());
  workspace.Step();
  workspace.EndSimulation();
  EXPECT_FALSE(workspace.IsSimulating());
  EXPECT_EQ(&testing::LibraryOf(workspace).currentModule(),
            &testing::LibraryOf(workspace).ModuleByName("untitle"));
}

TEST_F(SimulationCommandsTest, StepOnAnIdleNetWritesNothing) {
  AddRegister(Top());
  Check();
  const int redraws = ui.redraws;
  EXPECT_TRUE(workspace.Step());
  EXPECT_EQ(workspace.stepActivity(), 0);
  EXPECT_THAT(log.lines, IsEmpty());
  EXPECT_EQ(ui.redraws, redraws + 1);
}

TEST_F(SimulationCommandsTest, AnimatedRunStopsAfterTwoIdleStepsThatFollowActivity) {
  workspace.SetTimerInterval(30);
  const int sink = Pipeline("1");
  Check();
  now = 1000;
  workspace.Run();
  EXPECT_TRUE(ui.timerRunning);
  EXPECT_EQ(ui.timerInterval, 30);
  EXPECT_TRUE(workspace.Query(CommandId::kRun).checked);
  workspace.Tick();  // the source emits
  workspace.Tick();  // the sink takes
  EXPECT_TRUE(workspace.IsTimerRunning());
  now = 2500;
  workspace.Tick();  // two idle steps
  EXPECT_FALSE(ui.timerRunning);
  EXPECT_FALSE(workspace.IsTimerRunning());
  EXPECT_THAT(Received(sink), ElementsAre(1));
  EXPECT_THAT(log.lines, ElementsAre("シミュレーションを開始します", "シミュレーションを終了します",
                                     "シミュレーション時間は1.500000秒"));
}

TEST_F(SimulationCommandsTest, AnimatedRunOfAStillNetTicksUntilPaused) {
  AddRegister(Top());
  Check();
  workspace.Run();
  for (int i = 0; i < 50; ++i)
    workspace.Tick();
  EXPECT_TRUE(ui.timerRunning);
  workspace.Pause();
  EXPECT_THAT(log.lines, ElementsAre("シミュレーションを開始します", "一時停止"));
  EXPECT_EQ(workspace.mode(), Tool::kNone);
  workspace.Tick();
  EXPECT_FALSE(ui.timerRunning);
}

TEST_F(SimulationCommandsTest, PausedRunStillStepsOnceMoreAndRunContinuesFromThere) {
  const int sink = Pipeline("1", true);
  Check();
  workspace.Run();
  workspace.Tick();
  workspace.Tick();
  ASSERT_THAT(Received(sink), ElementsAre(1));
  workspace.Pause();
  workspace.Tick();
  EXPECT_THAT(Received(sink), ElementsAre(1, 1));
  EXPECT_FALSE(ui.timerRunning);
  workspace.Tick();  // a late tick of a stopped timer
  EXPECT_THAT(Received(sink), ElementsAre(1, 1));
  workspace.Run();
  EXPECT_FALSE(workspace.IsPaused());
  workspace.Tick();
  EXPECT_THAT(Received(sink), ElementsAre(1, 1, 1));
}

TEST_F(SimulationCommandsTest, StepSaysWhenItFailedOrThereWasNothingToStep) {
  InputBeforeNew();
  EXPECT_FALSE(workspace.Step());
  EXPECT_THAT(log.lines, IsEmpty());
  Check();
  EXPECT_FALSE(workspace.Step());
  EXPECT_THAT(log.lines,
              ElementsAre("モジュールでエラー", "newされる前に入力が起こりました", "一時停止"));
}

// Printing and the command-line tool's pictures show the tokens as the view does.
TEST_F(SimulationCommandsTest, ThePictureOfTheModuleShowsTheRunState) {
  Pipeline("1101");
  const auto texts = [this] {
    std::vector<std::string> texts;
    for (const DrawOp& op : workspace.PictureDrawing().ops)
      texts.push_back(op.text);
    return texts;
  };
  Check();
  const std::vector<std::string> checked = texts();
  workspace.RunWithoutAnimation();
  EXPECT_NE(texts(), checked);
}

TEST_F(SimulationCommandsTest, StepFailureDuringTheAnimatedRunPausesIt) {
  InputBeforeNew();
  Check();
  workspace.Run();
  workspace.Tick();
  EXPECT_THAT(log.lines, ElementsAre("シミュレーションを開始します", "モジュールでエラー",
                                     "newされる前に入力が起こりました", "一時停止"));
  EXPECT_TRUE(workspace.IsPaused());
  EXPECT_FALSE(ui.timerRunning);
}

TEST_F(SimulationCommandsTest, InstanceThatCannotBeCreatedPausesTheSimulation) {
  Module& cell = *testing::LibraryOf(workspace).CreateModule("cell");
  AddPort(cell, "new");
  const int tooSmall = AddRegister(cell, "11", 2);
  const int instance = AddInstance(Top(), "cell");
  Connect(Top(), AddRegister(Top(), "1"), instance, "new");
  testing::LibraryOf(workspace).RefreshNewDeleteFlags();
  testing::LibraryOf(workspace).AddInstanceEverywhere("cell", instance);
  Check();
  workspace.Step();
  EXPECT_THAT(
      log.lines,
      ElementsAre("再構成", fmt::sprintf("cellのシフトレジスタ%dにエラー", tooSmall), "一時停止"));
  EXPECT_TRUE(workspace.IsPaused());
  const std::optional<InstanceRunState> record =
      workspace.simulation().Instance(testing::LibraryOf(workspace).rootInstance(), instance);
  ASSERT_TRUE(record);
  EXPECT_TRUE(record->absent);
  EXPECT_FALSE(record->created);
  EXPECT_THAT(workspace.simulation().Schedule(),
              ElementsAre(&testing::LibraryOf(workspace).rootInstance()));
}

TEST_F(SimulationCommandsTest, RunWithoutAnimationEndsAfterTwoIdleSteps) {
  const int sink = Pipeline("101");
  Check();
  now = 40;
  int calls = 0;
  const RunOutcome outcome = workspace.RunWithoutAnimation([&](std::int64_t steps, StepActivity) {
    EXPECT_EQ(steps, ++calls);
    now += 10;
    return true;
  });
  EXPECT_EQ(outcome.end, RunEnd::kIdle);
  EXPECT_EQ(outcome.steps, 6);
  EXPECT_THAT(Received(sink), ElementsAre(1, 0, 1));
  EXPECT_EQ(workspace.mode(), Tool::kRunWithoutAnimation);
  EXPECT_THAT(log.lines, ElementsAre("シミュレーションを開始します", "シミュレーションを終了します",
                                     "シミュレーション時間は0.060000秒"));
}

// Printing a stepped module once showed no tokens: the picture read run-time records that the
// workspace's engine does not keep.
TEST_F(SimulationCommandsTest, ThePrintedPictureShowsTheTokensOfTheRunningModule) {
  const int sink = Pipeline("101");
  const auto texts = [this] {
    std::vector<std::string> shown;
    for (const DrawOp& op : workspace.PictureDrawing().ops) {
      if (op.shape == DrawShape::kText)
        shown.push_back(op.text);
    }
    return shown;
  };
  Check();
  workspace.RunWithoutAnimation();
  ASSERT_THAT(Received(sink), ElementsAre(1, 0, 1));
  EXPECT_THAT(texts(), ::testing::Contains("101"));  // what the sink took
  workspace.EndSimulation();
  EXPECT_THAT(texts(), ::testing::Not(::testing::Contains("101")));
}

TEST_F(SimulationCommandsTest, RunWithoutAnimationStopsAtTheStepLimit) {
  Pipeline("1", true);
  Check();
  workspace.SetStepLimit(50);
  const RunOutcome outcome = workspace.RunWithoutAnimation();
  EXPECT_EQ(outcome.end, RunEnd::kStepLimit);
  EXPECT_EQ(outcome.steps, 50);
  EXPECT_THAT(log.lines,
              ElementsAre("シミュレーションを開始します", "ステップ数が上限（50）に達しました",
                          "シミュレーションを終了します", "シミュレーション時間は0.000000秒"));
}

TEST_F(SimulationCommandsTest, RunWithoutAnimationCanBeCancelledBetweenSteps) {
  Pipeline("1", true);
  Check();
  const RunOutcome outcome =
      workspace.RunWithoutAnimation([](std::int64_t steps, StepActivity) { return steps < 3; });
  EXPECT_EQ(outcome.end, RunEnd::kCancelled);
  EXPECT_EQ(outcome.steps, 3);
  EXPECT_TRUE(workspace.IsPaused());
  EXPECT_THAT(log.lines,
              ElementsAre("シミュレーションを開始します", "一時停止",
                          "シミュレーションを終了します", "シミュレーション時間は0.000000秒"));
}

TEST_F(SimulationCommandsTest, RunWithoutAnimationStopsAtTheFirstFailure) {
  InputBeforeNew();
  Check();
  const RunOutcome outcome = workspace.RunWithoutAnimation();
  EXPECT_EQ(outcome.end, RunEnd::kFailed);
  EXPECT_EQ(outcome.steps, 1);
  EXPECT_THAT(log.lines,
              ElementsAre("シミュレーションを開始します", "モジュールでエラー",
                          "newされる前に入力が起こりました", "一時停止",
                          "シミュレーションを終了します", "シミュレーション時間は0.000000秒"));
}

TEST_F(SimulationCommandsTest, CommandStatesFollowTheSimulationAndTheMode) {
  const std::vector<CommandId> fileAndEdit = {
      CommandId::kNew,     CommandId::kOpen, CommandId::kSave, CommandId::kSaveAs,
      CommandId::kSaveAll, CommandId::kCut,  CommandId::kCopy, CommandId::kPaste};
  const std::vector<CommandId> running = {CommandId::kStep, CommandId::kStop, CommandId::kPause,
                                          CommandId::kRun, CommandId::kRunWithoutAnimation};
  workspace.SetMode(Tool::kMove);
  EXPECT_EQ(workspace.Query(CommandId::kCheck), (CommandState{true, false}));
  EXPECT_EQ(workspace.Query(CommandId::kMoveTool), (CommandState{true, true}));
  EXPECT_EQ(workspace.Query(CommandId::kModuleTool), (CommandState{true, false}));
  for (CommandId id : fileAndEdit)
    EXPECT_EQ(workspace.Query(id), (CommandState{true, false}));
  for (CommandId id : running)
    EXPECT_EQ(workspace.Query(id), (CommandState{false, false}));

  Check();
  EXPECT_EQ(workspace.mode(), Tool::kNone);
  EXPECT_EQ(workspace.Query(CommandId::kCheck), (CommandState{false, true}));
  EXPECT_EQ(workspace.Query(CommandId::kMoveTool), (CommandState{false, false}));
  for (CommandId id : fileAndEdit)
    EXPECT_EQ(workspace.Query(id), (CommandState{false, false}));
  for (CommandId id : running)
    EXPECT_EQ(workspace.Query(id), (CommandState{true, false}));
  workspace.RunWithoutAnimation();
  EXPECT_EQ(workspace.Query(CommandId::kRunWithoutAnimation), (CommandState{true, true}));
  workspace.Run();
  EXPECT_EQ(workspace.Query(CommandId::kRun), (CommandState{true, true}));
  EXPECT_EQ(workspace.Query(CommandId::kRunWithoutAnimation), (CommandState{true, false}));
}

TEST_F(SimulationCommandsTest, DisabledCommandsDoNothing) {
  Pipeline("1");
  workspace.Step();
  workspace.Run();
  workspace.Tick();
  workspace.Pause();
  workspace.EndSimulation();
  EXPECT_EQ(workspace.RunWithoutAnimation().end, RunEnd::kNotSimulating);
  EXPECT_THAT(log.lines, IsEmpty());
  EXPECT_FALSE(ui.timerRunning);

  Check();
  workspace.Check();
  EXPECT_THAT(log.lines, IsEmpty());
}

}  // namespace
}  // namespace pelkor
