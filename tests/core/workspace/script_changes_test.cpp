// SPDX-License-Identifier: GPL-3.0-or-later
// What a script changes in a running simulation: the values a source has left (the run only) and
// what a sink expects (the design, as the sink's dialog changes it).
#include <gmock/gmock.h>
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

std::vector<std::uint8_t> Bits(const std::string& text) {
  std::vector<std::uint8_t> bits;
  for (const char c : text)
    bits.push_back(static_cast<std::uint8_t>(c - '0'));
  return bits;
}

std::string Text(std::span<const std::uint8_t> values) {
  std::string text;
  for (const std::uint8_t value : values)
    text += static_cast<char>('0' + value);
  return text;
}

class ScriptChangesTest : public ::testing::Test {
 protected:
  ScriptChangesTest() { workspace.AttachLog(&log); }

  // A source emitting `data` through a one-cell register into a sink expecting `expected`.
  void AddPipeline(const std::string& data, const std::string& expected, int sourceFlags = 0) {
    Module& top = testing::LibraryOf(workspace).currentModule();
    const int shiftRegister = AddRegister(top);
    sink = AddSink(top);
    source = AddSource(top, data, "", sourceFlags);
    top.sinks.at(sink).expected = expected;
    Connect(top, source, shiftRegister);
    Connect(top, shiftRegister, sink);
  }
  void Check() {
    workspace.Check();
    ASSERT_TRUE(workspace.IsSimulating());
  }
  const RuntimeInstance& Root() { return workspace.library().rootInstance(); }
  std::string Received() { return Text(workspace.simulation().Received(Root(), sink)); }
  void StepTimes(int steps) {
    for (int i = 0; i < steps; ++i)
      workspace.Step();
  }

  testing::RecordingLog log;
  testing::ScriptedUi ui;
  Workspace workspace{ui};
  int source = 0;
  int sink = 0;
};

TEST_F(ScriptChangesTest, ASourceEmitsItsReplacedValuesFromTheFirst) {
  struct Case {
    std::string data;
    int stepsBefore;  // 6 steps empty the source and leave the net idle
    std::string replacement;
  };
  const Case cases[] = {
      {"10", 0, "011"}, {"10", 1, "0"}, {"1", 6, "01"}, {"110", 3, ""}, {"", 2, "1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data + " then " + c.replacement);
    testing::LibraryOf(workspace).Reset();
    AddPipeline(c.data, "");
    Check();
    StepTimes(c.stepsBefore);
    const std::string before = Received();
    const SourceRunState left = *workspace.simulation().Source(Root(), source);
    // What had left the source by then: on its way or received.
    const std::size_t emitted = left.emitted;

    ASSERT_TRUE(workspace.ReplaceSourceValues(Root(), source, Bits(c.replacement)));
    const SourceRunState replaced = *workspace.simulation().Source(Root(), source);
    EXPECT_EQ(Text(replaced.queue), c.replacement);
    EXPECT_EQ(replaced.emitted, 0u);

    StepTimes(4 * static_cast<int>(c.replacement.size()) + 6);
    EXPECT_EQ(Received(), c.data.substr(0, emitted) + c.replacement) << "before: " << before;
    workspace.EndSimulation();
  }
}

TEST_F(ScriptChangesTest, AHeldSourceHoldsTheFirstReplacedValue) {
  AddPipeline("1", "", testing::kHoldValue);
  Check();
  StepTimes(4);
  ASSERT_TRUE(workspace.ReplaceSourceValues(Root(), source, Bits("01")));
  const std::size_t before = Received().size();
  StepTimes(12);
  const std::string after = Received().substr(before);
  // One value may have been on its way through the register.
  EXPECT_THAT(after.substr(1), ::testing::MatchesRegex("0+"));
}

TEST_F(ScriptChangesTest, ChangesToWhatIsNotThereAreRefusedAndChangeNothing) {
  AddPipeline("10", "10");
  EXPECT_FALSE(workspace.ReplaceSourceValues(Root(), source, Bits("1")));  // before the check
  EXPECT_FALSE(workspace.SetSinkExpected("untitle", source, "1"));         // not a sink
  EXPECT_FALSE(workspace.SetSinkExpected("nowhere", sink, "1"));           // no such module
  Check();
  EXPECT_FALSE(workspace.ReplaceSourceValues(Root(), sink, Bits("1")));  // not a source
  EXPECT_FALSE(workspace.ReplaceSourceValues(Root(), source, {1, 2}));   // not a bit
  EXPECT_EQ(Text(workspace.simulation().Source(Root(), source)->queue), "10");
  workspace.RunWithoutAnimation();
  EXPECT_EQ(Received(), "10");
  EXPECT_EQ(log.lines.back(), "照合結果: 合格1 不合格0");
}

// A run stops after a step in which a sink takes a value it does not expect by then; the
// verdicts at its end judge every value.
TEST_F(ScriptChangesTest, ExpectationsSetWhileRunningDecideTheVerdictsAndTheStop) {
  struct Case {
    int stepsBefore;  // the sink watch has looked at the sink's first values by then
    std::string expected;
  };
  const std::string data = "1101";
  for (const Case& c :
       {Case{0, "1001"}, Case{2, "1111"}, Case{3, "1001"}, Case{3, "1100"}, Case{0, "1101"}}) {
    SCOPED_TRACE(std::to_string(c.stepsBefore) + " steps, then " + c.expected);
    testing::LibraryOf(workspace).Reset();
    AddPipeline(data, data);
    workspace.SetStopAtMismatch(true);
    Check();
    StepTimes(c.stepsBefore);
    const std::size_t arrived = Received().size();
    ASSERT_TRUE(workspace.SetSinkExpected("untitle", sink, c.expected));
    const RunOutcome outcome = workspace.RunWithoutAnimation();

    std::size_t departs = arrived;
    while (departs < data.size() && data[departs] == c.expected[departs])
      ++departs;
    if (departs == data.size()) {
      EXPECT_EQ(outcome.end, RunEnd::kIdle);
      EXPECT_EQ(Received(), data);
    } else {
      EXPECT_EQ(outcome.end, RunEnd::kMismatch);
      EXPECT_EQ(Received(), data.substr(0, departs + 1));
    }
    const std::string verdicts = data == c.expected
                                     ? "合格1 不合格0"
                                     : "合格0 不合格1 (" + SinkLogLabel("untitle", sink, "") + ")";
    EXPECT_EQ(log.lines.back(), "照合結果: " + verdicts);
    workspace.EndSimulation();
  }
}

// A source's replaced values belong to the run; a sink's expectation is the design's, changed
// in memory only, so that a new check keeps it and only a save would write it.
TEST_F(ScriptChangesTest, ReplacedValuesLeaveTheDesignAndAnExpectationChangesIt) {
  ASSERT_EQ(workspace.OpenFile(PELKOR_EXAMPLES "/full_adder.dtn"), OpenResult::kOpened);
  const Module design = workspace.library().ModuleByName("full_adder");
  const auto sourceA = design.sources.begin()->first;
  const auto sinkSum = design.sinks.begin()->first;
  Check();
  ASSERT_TRUE(workspace.ReplaceSourceValues(Root(), sourceA, Bits("1")));
  ASSERT_TRUE(workspace.SetSinkExpected("full_adder", sinkSum, "0"));  // 1 comes: 1, 0, 0
  workspace.RunWithoutAnimation();
  // The carry sink gets one value of the eight it expects.
  EXPECT_THAT(log.lines.back(), ::testing::StartsWith("照合結果: 合格0 不合格2"));
  workspace.EndSimulation();
  const Module& after = workspace.library().ModuleByName("full_adder");
  EXPECT_EQ(after.sources, design.sources);
  EXPECT_EQ(after.sinks.at(sinkSum).expected, "0");
  EXPECT_THAT(workspace.ModifiedModules(), ::testing::ElementsAre("full_adder"));
  EXPECT_TRUE(after.CanUndo());
  Check();  // the sources emit the design's values again; the sum sink expects "0"
  workspace.RunWithoutAnimation();
  EXPECT_THAT(log.lines.back(), ::testing::StartsWith("照合結果: 合格1 不合格1"));
}

}  // namespace
}  // namespace pelkor
