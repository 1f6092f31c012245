// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "../sim/design_builders.h"
#include "support/recording_log.h"
#include "support/scripted_ui.h"
#include "support/workspace_probe.h"
#include "view/view_style.h"
#include "workspace/workspace.h"

namespace pelkor {
namespace {

using testing::AddCounter;
using testing::AddInstance;
using testing::AddMachine;
using testing::AddPort;
using testing::AddRegister;
using testing::AddSink;
using testing::AddSource;
using testing::Connect;
using ::testing::Contains;
using ::testing::ElementsAreArray;

// The root node's blocked objects by ID, with their codes.
using Codes = std::vector<std::pair<int, std::string>>;

// A workspace with its log.
struct StopRun {
  StopRun() { workspace.AttachLog(&log); }

  ModuleLibrary& Library() { return testing::LibraryOf(workspace); }
  Module& Top() { return Library().ModuleByName("untitle"); }
  // A module "cell" placed once in the top module.
  int PlaceCell(const std::function<void(Module&)>& build) {
    build(*Library().CreateModule("cell"));
    const int instance = AddInstance(Top(), "cell");
    Library().RefreshNewDeleteFlags();
    Library().AddInstanceEverywhere("cell", instance);
    return instance;
  }
  Codes RootCodes() {
    Codes codes;
    for (const StopReason& reason : workspace.session().stopReasons()) {
      if (reason.path == "untitle")
        codes.emplace_back(reason.object.id, reason.object.code);
    }
    return codes;
  }
  std::size_t Outlines() {
    Frame frame;
    workspace.PaintView(frame);
    return std::count_if(frame.picture.ops.begin(), frame.picture.ops.end(), [](const DrawOp& op) {
      return op.shape == DrawShape::kRectangle && op.pen && op.pen->colour == kBlockedColour;
    });
  }

  testing::RecordingLog log;
  testing::ScriptedUi ui;
  Workspace workspace{ui};
};

class StopReasonsTest : public ::testing::Test, protected StopRun {};

struct StuckNet {
  const char* name;
  // Builds the net; the root's objects expected blocked, with their codes.
  std::function<Codes(StopRun&)> build;
};

const StuckNet kStuckNets[] = {
    {"a machine waits on an empty input",
     [](StopRun& t) -> Codes {
       Module& top = t.Top();
       const int a = AddRegister(top, "1");
       const int b = AddRegister(top);
       const int x = AddRegister(top);
       const int machine = AddMachine(top, {{1, "x = a & b;", ""}}, {}, 1);
       Connect(top, a, machine, "a");
       Connect(top, b, machine, "b");
       Connect(top, machine, x, "x");
       return {{a, "exit-untaken"}, {machine, "input-empty"}};
     }},
    {"a counter cannot put its output",
     [](StopRun& t) -> Codes {
       Module& top = t.Top();
       const int in = AddRegister(top, "11");
       const int out = AddRegister(top);
       const int counter = AddCounter(top, "x = a;", 1);
       Connect(top, in, counter, "a");
       Connect(top, counter, out, "x");
       return {{in, "exit-untaken"}, {out, "no-consumer"}, {counter, "output-full"}};
     }},
    {"a two-step state chooses no arc",
     [](StopRun& t) -> Codes {
       Module& top = t.Top();
       const int c = AddRegister(top, "1");
       const int x = AddRegister(top);
       const int machine =
           AddMachine(top, {{1, "", "go = c & ~c;"}, {2, "x = c;", "back = c | ~c;"}},
                      {{1, 2, "go"}, {2, 1, "back"}}, 1, true);
       Connect(top, c, machine, "c");
       Connect(top, machine, x, "x");
       return {{c, "exit-untaken"}, {machine, "guard"}};
     }},
    {"a machine's input has no register",
     [](StopRun& t) -> Codes {
       Module& top = t.Top();
       const int a = AddRegister(top, "1");
       const int z = AddRegister(top, "1");
       const int x = AddRegister(top);
       const int machine = AddMachine(top, {{1, "x = a & b;", ""}}, {}, 1);
       Connect(top, a, machine, "a");
       Connect(top, z, machine, "z");
       Connect(top, machine, x, "x");
       return {{a, "exit-untaken"}, {z, "no-consumer"}, {machine, "unconnected"}};
     }},
    {"a source has values nobody takes",
     [](StopRun& t) -> Codes {
       Module& top = t.Top();
       const int r = AddRegister(top);
       const int source = AddSource(top, "111");
       Connect(top, source, r);
       return {{r, "no-consumer"}, {source, "source-unread"}};
     }},
    {"a sink waits for values it expects",
     [](StopRun& t) -> Codes {
       Module& top = t.Top();
       const int r = AddRegister(top);
       const int sink = AddSink(top);
       top.sinks.at(sink).expected = "11";
       Connect(top, AddSource(top, "1"), r);
       Connect(top, r, sink);
       return {{sink, "input-empty"}};
     }},
    {"an instance's output port is full outside",
     [](StopRun& t) -> Codes {
       const int instance = t.PlaceCell([](Module& cell) {
         const int r = AddRegister(cell, "11");
         Connect(cell, r, AddSink(cell, "q"));
       });
       const int out = AddRegister(t.Top());
       Connect(t.Top(), instance, out, "q");
       return {{instance, "port-waiting"}, {out, "no-consumer"}};
     }},
    {"an instance's input port is full inside",
     [](StopRun& t) -> Codes {
       const int instance = t.PlaceCell([](Module& cell) { AddPort(cell, "d"); });
       const int in = AddRegister(t.Top(), "11");
       Connect(t.Top(), in, instance, "d");
       return {{instance, "port-waiting"}, {in, "exit-untaken"}};
     }},
    {"a token reaches an instance before its new",
     [](StopRun& t) -> Codes {
       const int instance = t.PlaceCell([](Module& cell) {
         AddPort(cell, "new");
         AddPort(cell, "d");
       });
       Connect(t.Top(), AddRegister(t.Top()), instance, "new");
       const int d = AddRegister(t.Top(), "1");
       Connect(t.Top(), d, instance, "d");
       return {{instance, "not-created"}, {d, "exit-untaken"}};
     }},
};

TEST_F(StopReasonsTest, EachStuckNetNamesItsReason) {
  for (const StuckNet& net : kStuckNets) {
    SCOPED_TRACE(net.name);
    StopRun fresh;
    Codes expected = net.build(fresh);
    std::sort(expected.begin(), expected.end());
    fresh.workspace.Check();
    ASSERT_TRUE(fresh.workspace.IsSimulating()) << ::testing::PrintToString(fresh.log.lines);
    fresh.workspace.RunWithoutAnimation();
    fresh.workspace.ExplainStop();
    EXPECT_THAT(fresh.RootCodes(), ElementsAreArray(expected));
  }
}

// A run that ends idle, animated or not, and "停止理由" write a line per blocked object, which
// the view outlines until the next step or the end.
TEST_F(StopReasonsTest, AnIdleRunWritesTheReasonsAndTheViewOutlinesThem) {
  const int r = AddRegister(Top());
  const int source = AddSource(Top(), "111");
  Connect(Top(), source, r);
  workspace.ResizeView(400, 300);
  workspace.Check();
  EXPECT_TRUE(workspace.Query(CommandId::kExplainStop).enabled);
  workspace.RunWithoutAnimation();
  EXPECT_THAT(log.lines, Contains("untitle シフトレジスタ1: 出口のトークンを取るものがありません"));
  EXPECT_THAT(
      log.lines,
      Contains("untitle ウージ2: 出力シフトレジスタ1がいっぱいで、値があと2個残っています"));
  EXPECT_EQ(Outlines(), 2u);

  workspace.EndSimulation();
  EXPECT_EQ(Outlines(), 0u);

  workspace.Check();
  workspace.Run();
  EXPECT_FALSE(workspace.Query(CommandId::kExplainStop).enabled);
  for (int tick = 0; tick < 10 && workspace.IsTimerRunning(); ++tick)
    workspace.Tick();
  EXPECT_EQ(Outlines(), 2u);
  workspace.Step();
  EXPECT_EQ(Outlines(), 0u);
  workspace.Execute(CommandId::kExplainStop);
  EXPECT_EQ(Outlines(), 2u);
  workspace.EndSimulation();
  EXPECT_EQ(Outlines(), 0u);
  EXPECT_FALSE(workspace.Query(CommandId::kExplainStop).enabled);
}

TEST_F(StopReasonsTest, ANetThatFinishedHasNothingToExplain) {
  const int r = AddRegister(Top());
  const int sink = AddSink(Top());
  Top().sinks.at(sink).expected = "1";
  Connect(Top(), AddSource(Top(), "1"), r);
  Connect(Top(), r, sink);
  workspace.Check();
  workspace.RunWithoutAnimation();
  log.lines.clear();
  workspace.Execute(CommandId::kExplainStop);
  EXPECT_THAT(log.lines, ElementsAreArray({"止まっているオブジェクトはありません"}));
}

}  // namespace
}  // namespace pelkor
