// SPDX-License-Identifier: GPL-3.0-or-later
// Going back in a simulation through the workspace: the state, the waveforms and the verdicts
// of the step gone back to, the script's replacements made again, and the commands' states.
#include <gtest/gtest.h>

#include "../sim/sim_fixture.h"
#include "support/scripted_ui.h"
#include "support/workspace_probe.h"
#include "workspace/waveform/sink_watch.h"
#include "workspace/workspace.h"

namespace pelkor {
namespace {

using testing::AddRegister;
using testing::AddSink;
using testing::AddSource;
using testing::Connect;

class SteppingBackTest : public ::testing::Test {
 protected:
  SteppingBackTest() {
    workspace.AttachLog(&log);
    // A source through two registers into a sink that expects a value the source never sends.
    Module& top = testing::LibraryOf(workspace).currentModule();
    const int first = AddRegister(top);
    const int second = AddRegister(top, "", 2);
    sink = AddSink(top);
    source = AddSource(top, "10110");
    top.sinks.at(sink).expected = "10100";
    Connect(top, source, first);
    Connect(top, first, second);
    Connect(top, second, sink);
    workspace.Check();
  }
  const RuntimeInstance& Root() { return workspace.library().rootInstance(); }
  // What the step shows: the values received, the source's progress, every waveform row at the
  // last step recorded, and the verdicts.
  std::string Shown() {
    std::string shown;
    for (const std::uint8_t value : workspace.simulation().Received(Root(), sink))
      shown += static_cast<char>('0' + value);
    shown += " emitted " + std::to_string(workspace.simulation().Source(Root(), source)->emitted);
    const SignalHistory& history = workspace.history();
    shown += " step " + std::to_string(history.lastStep()) + " rows";
    for (std::size_t row = 0; row < history.rows().size(); ++row) {
      const HistoryCell cell = history.At(row, history.lastStep());
      shown += " " + std::to_string(cell.value) + (cell.mismatch ? "!" : "");
    }
    const std::optional<std::int64_t> mismatch = history.NextMismatch(-1);
    shown += " mismatch " + (mismatch ? std::to_string(*mismatch) : "none");
    return shown + " " + VerdictSummary(workspace.simulation(), Root());
  }
  // Steps to `steps`, noting what each step shows.
  std::vector<std::string> StepTo(int steps) {
    std::vector<std::string> shown{Shown()};
    for (int i = 0; i < steps; ++i) {
      workspace.Step();
      shown.push_back(Shown());
    }
    return shown;
  }

  testing::RecordingLog log;
  testing::ScriptedUi ui;
  Workspace workspace{ui};
  int source = 0;
  int sink = 0;
};

TEST_F(SteppingBackTest, EveryWayToAStepShowsWhatTheStepShowedFirst) {
  const std::vector<std::string> shown = StepTo(14);
  const std::size_t lines = log.lines.size();
  for (const std::int64_t step : {13, 12, 4, 9, 0, 14, 2, 3}) {
    SCOPED_TRACE(step);
    if (step == 12)
      EXPECT_TRUE(workspace.Execute(CommandId::kStepBack));
    else if (step == 0)
      EXPECT_TRUE(workspace.Execute(CommandId::kRewind));
    else
      EXPECT_TRUE(workspace.GoToStep(step));
    EXPECT_EQ(workspace.session().step(), step);
    EXPECT_EQ(Shown(), shown[static_cast<std::size_t>(step)]);
  }
  // Going back writes nothing of the steps replayed.
  EXPECT_EQ(log.lines.size(), lines);
}

TEST_F(SteppingBackTest, AReplacedSourceGetsItsValuesAgainAtTheSameStep) {
  StepTo(3);
  ASSERT_TRUE(workspace.ReplaceSourceValues(Root(), source, {0, 0, 1}));
  const std::vector<std::string> shown = StepTo(6);
  ASSERT_TRUE(workspace.GoToStep(1));
  ASSERT_TRUE(workspace.GoToStep(9));
  EXPECT_EQ(Shown(), shown.back());
  ASSERT_TRUE(workspace.GoToStep(5));
  EXPECT_EQ(Shown(), shown[2]);
}

TEST_F(SteppingBackTest, GoingBackIsOfferedPastStepZeroWhileNoRunGoesOn) {
  const auto enabled = [this] {
    return std::pair(workspace.Query(CommandId::kStepBack).enabled,
                     workspace.Query(CommandId::kRewind).enabled);
  };
  EXPECT_EQ(enabled(), std::pair(false, false));
  workspace.Step();
  EXPECT_EQ(enabled(), std::pair(true, true));
  workspace.Run();
  EXPECT_EQ(enabled(), std::pair(false, false));
  EXPECT_FALSE(workspace.StepBack());
  workspace.Pause();
  workspace.EndSimulation();
  EXPECT_EQ(enabled(), std::pair(false, false));
}

}  // namespace
}  // namespace pelkor
