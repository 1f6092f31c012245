// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "../sim/design_builders.h"
#include "support/recording_log.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"
#include "support/workspace_probe.h"
#include "workspace/breakpoint_rows.h"
#include "workspace/workspace.h"

namespace pelkor {
namespace {

using testing::AddCounter;
using testing::AddInstance;
using testing::AddMachine;
using testing::AddRegister;
using testing::AddSink;
using testing::AddSource;
using testing::Connect;

// The objects of a small design that breakpoints are set on.
struct Objects {
  int source = 0, entry = 0, middle = 0, exit = 0, sink = 0;
};

// A source feeding a register into a sink: `cells` cells for the register.
Objects Chain(Module& top, const std::string& data, int cells) {
  Objects o;
  o.source = AddSource(top, data);
  o.entry = AddRegister(top, "", cells);
  o.sink = AddSink(top);
  Connect(top, o.source, o.entry);
  Connect(top, o.entry, o.sink);
  return o;
}

// A source, a register into `middle` (a machine that moves to state 2 on a 1, or a counter
// that reaches its count every second 1), a register out of it and a sink.
Objects Through(Module& top, const std::string& data, bool machine) {
  Objects o;
  o.source = AddSource(top, data);
  o.entry = AddRegister(top);
  o.middle = machine
                 ? AddMachine(top, {{1, "x = a;", "go = a;"}, {2, "x = a;", ""}}, {{1, 2, "go"}}, 1)
                 : AddCounter(top, "x = a;", 2);
  o.exit = AddRegister(top);
  o.sink = AddSink(top);
  Connect(top, o.source, o.entry);
  Connect(top, o.entry, o.middle, "a");
  Connect(top, o.middle, o.exit, "x");
  Connect(top, o.exit, o.sink);
  return o;
}

class BreakpointTest : public ::testing::Test {
 protected:
  BreakpointTest() { workspace.AttachLog(&log); }

  Module& Top() { return testing::LibraryOf(workspace).ModuleByName("untitle"); }
  ModuleLibrary& Library() { return testing::LibraryOf(workspace); }
  void Break(int id, BreakEvent event, int state = 0) {
    BreakpointList list;
    list.Add({Library().currentInstance().name, id, event, state, std::nullopt, true});
    workspace.SetBreakpoints(list);
  }

  testing::RecordingLog log;
  testing::ScriptedUi ui;
  Workspace workspace{ui};
};

// Each event pauses the run after the step it happens in, and only then.
TEST_F(BreakpointTest, EachEventPausesTheRunAfterItsStep) {
  struct Case {
    const char* name;
    std::function<Objects(Module&)> build;
    int Objects::*object;
    BreakEvent event;
    int state;
    std::int64_t step;  // 0: the run goes idle
  };
  const auto chain = [](const char* data, int cells) {
    return [=](Module& top) { return Chain(top, data, cells); };
  };
  const auto through = [](const char* data, bool machine) {
    return [=](Module& top) { return Through(top, data, machine); };
  };
  const Case cases[] = {
      // A one-cell register is reached as the source puts its value in.
      {"one cell", chain("01", 1), &Objects::entry, BreakEvent::kToken, 0, 1},
      // Three cells: put in at step 1, one cell on at each step after.
      {"three cells", chain("1", 3), &Objects::entry, BreakEvent::kToken, 0, 3},
      {"empty register", chain("", 3), &Objects::entry, BreakEvent::kToken, 0, 0},
      {"receive", chain("10", 1), &Objects::sink, BreakEvent::kReceive, 0, 2},
      {"receive 0", chain("10", 1), &Objects::sink, BreakEvent::kReceive0, 0, 3},
      {"receive 1", chain("10", 1), &Objects::sink, BreakEvent::kReceive1, 0, 2},
      {"receive 1 never", chain("00", 1), &Objects::sink, BreakEvent::kReceive1, 0, 0},
      {"source empty", chain("011", 1), &Objects::source, BreakEvent::kEmpty, 0, 3},
      // The machine is ready after step 1 and fires in step 2, with its output taken in step
      // 3 it fires again in step 4 on the 1 and moves to state 2.
      {"machine fires", through("01", true), &Objects::middle, BreakEvent::kFire, 0, 2},
      {"machine enters 2", through("01", true), &Objects::middle, BreakEvent::kState, 2, 4},
      {"machine never enters 1", through("01", true), &Objects::middle, BreakEvent::kState, 1, 0},
      {"counter fires", through("11", false), &Objects::middle, BreakEvent::kFire, 0, 2},
      {"token out of a counter", through("11", false), &Objects::exit, BreakEvent::kToken, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::ScriptedUi caseUi;
    Workspace run{caseUi};
    ModuleLibrary& library = testing::LibraryOf(run);
    const Objects objects = c.build(library.currentModule());
    BreakpointList list;
    list.Add(
        {library.currentInstance().name, objects.*c.object, c.event, c.state, std::nullopt, true});
    run.SetBreakpoints(list);
    run.Check();
    ASSERT_TRUE(run.IsSimulating());
    const RunOutcome outcome = run.RunWithoutAnimation();
    if (c.step == 0) {
      EXPECT_EQ(outcome.end, RunEnd::kIdle);
      continue;
    }
    EXPECT_EQ(outcome.end, RunEnd::kBreakpoint);
    EXPECT_EQ(outcome.steps, c.step);
    EXPECT_TRUE(run.IsPaused());
    ASSERT_TRUE(run.session().breakpointHit());
    EXPECT_EQ(run.session().breakpointHit()->step, c.step);
  }
}

// A breakpoint on every node hits the first node in tree order; one set for a node hits there
// only; a disabled one never.
TEST_F(BreakpointTest, APathRestrictsTheBreakpointToItsNode) {
  Module& cell = *Library().CreateModule("cell");
  const Objects inside = Chain(cell, "1", 1);
  const int first = AddInstance(Top(), "cell");
  const int second = AddInstance(Top(), "cell");
  Library().AddInstanceEverywhere("cell", first);
  Library().AddInstanceEverywhere("cell", second);
  const std::string secondPath = "untitle/" + std::to_string(second);
  struct Case {
    std::optional<std::string> path;
    bool enabled;
    std::optional<std::string> hitPath;
  };
  const Case cases[] = {{std::nullopt, true, "untitle/" + std::to_string(first)},
                        {secondPath, true, secondPath},
                        {secondPath, false, std::nullopt}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.value_or("every node"));
    workspace.SetBreakpoints({});
    BreakpointList list;
    list.Add({"cell", inside.sink, BreakEvent::kReceive, 0, c.path, c.enabled});
    workspace.SetBreakpoints(list);
    workspace.Check();
    log.lines.clear();
    const RunOutcome outcome = workspace.RunWithoutAnimation();
    const auto& hit = workspace.session().breakpointHit();
    ASSERT_EQ(hit.has_value(), c.hitPath.has_value());
    if (hit) {
      EXPECT_EQ(hit->path, *c.hitPath);
      EXPECT_EQ(outcome.steps, 2);
      // The log names the node and the object first; the view shows the node.
      EXPECT_EQ(log.lines.at(1), *c.hitPath + " ケムマキ" + std::to_string(inside.sink) +
                                     " ブレークポイント(receive) ステップ2");
      EXPECT_EQ(&Library().currentInstance(), hit->node);
    }
    workspace.EndSimulation();
  }
}

// The animated run pauses at the breakpoint too, its timer stopped; going on runs to the next
// hit. From step 2 on the sink takes a token from the exit of the two-cell register in each step
// as the next one moves in: the register holds the same before and after the step, and still a
// token reached its exit.
TEST_F(BreakpointTest, TheAnimatedRunPausesAtEachHit) {
  const Objects o = Chain(Top(), "111", 2);
  Break(o.entry, BreakEvent::kToken);
  workspace.Check();
  std::vector<std::int64_t> pauses;
  for (int round = 0; round < 3; ++round) {
    workspace.Run();
    for (int tick = 0; tick < 10 && !workspace.IsPaused(); ++tick)
      workspace.Tick();
    ASSERT_TRUE(workspace.IsPaused());
    EXPECT_FALSE(workspace.IsTimerRunning());
    pauses.push_back(workspace.session().breakpointHit()->step);
  }
  EXPECT_EQ(pauses, (std::vector<std::int64_t>{2, 3, 4}));
}

// F9 on the object selected alone sets its kind's breakpoint for the node shown, and takes it
// away again; the list survives in the store across workspaces on the same design file.
TEST_F(BreakpointTest, ToggledBreakpointsAreKeptPerDesignFile) {
  testing::TempFolder temp;
  const auto design = temp.Write("chain.dtn", "//pelkor file\n");
  const auto other = temp.Write("other.dtn", "//pelkor file\n");
  workspace.EnableBreakpointStore(temp.path() / "state");
  ASSERT_EQ(workspace.OpenFile(design), OpenResult::kOpened);
  const Objects o = Chain(Library().currentModule(), "1", 2);
  const auto select = [&](int id) {
    Module& module = Library().currentModule();
    module.selection.Clear(module);
    module.selection.Add(module, id);
  };
  for (const int id : {o.entry, o.sink, o.source, o.sink}) {
    select(id);
    workspace.Execute(CommandId::kToggleBreakpoint);
  }
  // In ascending ID: the source, then the register.
  const std::vector<BreakpointRow> rows = BreakpointRows(Library(), workspace.breakpoints());
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].place, "chain（すべて） ウージ" + std::to_string(o.source));
  EXPECT_EQ(rows[1].events, std::vector<std::string>{"token"});
  ASSERT_TRUE(workspace.SetBreakpointEnabled(1, false));
  EXPECT_FALSE(workspace.SetBreakpointEvent(0, {BreakEvent::kToken}));

  testing::ScriptedUi otherUi;
  Workspace reopened{otherUi};
  reopened.EnableBreakpointStore(temp.path() / "state");
  ASSERT_EQ(reopened.OpenFile(design), OpenResult::kOpened);
  EXPECT_EQ(reopened.breakpoints().items(), workspace.breakpoints().items());
  ASSERT_EQ(reopened.OpenFile(other), OpenResult::kOpened);
  EXPECT_TRUE(reopened.breakpoints().empty());
  // The design file itself holds none.
  EXPECT_EQ(testing::ReadBytes(design), "//pelkor file\n");
}

TEST(BreakpointListTest, TextReadsBackAndPassesOverBadLines) {
  BreakpointList list;
  list.Add({"top", 3, BreakEvent::kState, 12, "top/5/2", false});
  list.Add({"adder", 1, BreakEvent::kReceive1, 0, std::nullopt, true});
  const std::string text = list.ToText();
  EXPECT_EQ(BreakpointList::FromText(text).items(), list.items());
  EXPECT_EQ(BreakpointList::FromText(
                "on\tx\t1\tjump\t\nmaybe\tx\t1\ttoken\t\non\tx\tone\ttoken\t\n" + text)
                .items(),
            list.items());
}

}  // namespace
}  // namespace pelkor
