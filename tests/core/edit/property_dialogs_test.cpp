// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>

#include "base/errors.h"
#include "edit/editor_fixture.h"
#include "sim/node_run_state.h"
#include "sim/sim_fixture.h"
#include "support/workspace_probe.h"

namespace pelkor {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using PropertyDialogsTest = testing::EditorTest;

TEST_F(PropertyDialogsTest, ADoubleClickOpensTheDialogOfTheKindAndRecordsOnlyWhatItChanged) {
  const std::pair<CommandId, const char*> cases[] = {
      {CommandId::kShiftRegisterTool, "shift register"},
      {CommandId::kStateMachineTool, "state machine"},
      {CommandId::kCounterTool, "counter"},
      {CommandId::kSourceTool, "source"},
      {CommandId::kSinkTool, "sink"},
      {CommandId::kModuleTool, "module name"},
  };
  int x = 30;
  for (const auto& [tool, dialog] : cases) {
    Place(tool, {x, 60});
    ui.opened.clear();
    const std::uint64_t before = Revision();
    DoubleClick({x, 60});  // every dialog closed without a change
    EXPECT_THAT(ui.opened, ElementsAre(dialog));
    EXPECT_EQ(Revision(), before);
    x += 60;
  }
  ui.opened.clear();
  DoubleClick({200, 250});
  EXPECT_THAT(ui.opened, IsEmpty());

  ui.editRegister = [](ShiftRegister& r) { r.contents = "101"; };
  const std::uint64_t before = Revision();
  DoubleClick({30, 60});
  EXPECT_NE(Revision(), before);
  ws.Undo();
  EXPECT_EQ(module().shiftRegisters.begin()->second.contents, "");
  EXPECT_EQ(Revision(), before);
}

TEST_F(PropertyDialogsTest, TheCounterIsRegeneratedAfterItsDialogAndATextErrorIsLogged) {
  const int id = Place(CommandId::kCounterTool, {100, 100});
  ui.editCounter = [](Counter& c) { c.countText.source = "x = a & b;"; };
  DoubleClick({100, 100});
  EXPECT_THAT(module().counters.at(id).countText.inputs,
              ElementsAre(::testing::Key("a"), ::testing::Key("b")));
  EXPECT_THAT(log.lines, IsEmpty());

  Counter broken;
  broken.countText.source = "= a;";
  std::string message;
  try {
    broken.Regenerate();
  } catch (const MessageError& e) {
    message = e.what();
  }
  ASSERT_FALSE(message.empty());
  ui.editCounter = [](Counter& c) { c.countText.source = "= a;"; };
  DoubleClick({100, 100});
  EXPECT_THAT(log.lines, ElementsAre(message));
  EXPECT_EQ(module().counters.at(id).countText.source, "= a;");
}

TEST_F(PropertyDialogsTest, SourcesNamedNewAndDeleteMarkTheInstancesOfTheirModule) {
  testing::LibraryOf(ws).CreateModule("sub");
  Place(CommandId::kModuleTool, {100, 100});
  ui.names = {"  sub "};
  DoubleClick({100, 100});  // names it, trimmed
  const ModuleInstance& instance = module().instances.at(1);
  EXPECT_EQ(instance.moduleName, "sub");
  EXPECT_TRUE(testing::LibraryOf(ws).rootInstance().children.contains(1));

  DoubleClick({100, 100});  // enters it
  EXPECT_EQ(ws.documentTitle(), "sub");
  EXPECT_EQ(&module(), &testing::LibraryOf(ws).ModuleByName("sub"));
  Place(CommandId::kSourceTool, {200, 200});
  ui.editSource = [](SourceTransition& s) { s.name = "new"; };
  DoubleClick({200, 200});
  EXPECT_TRUE(instance.hasNewArc);
  EXPECT_FALSE(instance.hasDeleteArc);
  ui.editSource = [](SourceTransition& s) { s.name = "delete"; };
  DoubleClick({200, 200});
  EXPECT_FALSE(instance.hasNewArc);
  EXPECT_TRUE(instance.hasDeleteArc);

  EXPECT_TRUE(ws.Query(CommandId::kUpperModule).enabled);
  ws.GoUp();
  EXPECT_EQ(ws.documentTitle(), "untitle");
  EXPECT_FALSE(ws.Query(CommandId::kUpperModule).enabled);
}

TEST_F(PropertyDialogsTest, AnInstanceIsNamedOnlyByAnAnswerThatIsNotBlank) {
  const int id = Place(CommandId::kModuleTool, {100, 100});
  ui.names = {"   ", std::nullopt};
  DoubleClick({100, 100});
  DoubleClick({100, 100});
  EXPECT_EQ(module().instances.at(id).moduleName, "");
  EXPECT_EQ(ui.treeRebuilds, 0);
}

TEST_F(PropertyDialogsTest, WhileSimulatingASinkShowsWhatItReceivedAndAMachineOpensNothing) {
  const int reg = testing::AddRegister(module());
  const int sink = testing::AddSink(module());
  testing::Connect(module(), testing::AddSource(module(), "101"), reg);
  testing::Connect(module(), reg, sink);
  const int in = testing::AddRegister(module());
  const int machine = testing::AddMachine(module(), {{1, "", "go = a;"}, {2, "", "back = a;"}},
                                          {{1, 2, "go"}, {2, 1, "back"}}, 1);
  testing::Connect(module(), in, machine);
  module().sinks.at(sink).position = {100, 100};
  module().stateMachines.at(machine).position = {200, 100};
  module().ResetHistory();  // as a design read from its file
  ws.Check();
  ASSERT_TRUE(ws.IsSimulating());
  ws.RunWithoutAnimation();

  DoubleClick({100, 100});
  DoubleClick({200, 100});
  EXPECT_THAT(ui.sinkReceived, ElementsAre(1, 0, 1));
  EXPECT_THAT(ui.opened, ElementsAre("sink"));
  EXPECT_FALSE(module().CanUndo());  // a dialog closed without a change is no edit
}

TEST_F(PropertyDialogsTest, ASinkDialogKeepsWhatArrivesWhileItIsOpen) {
  const int reg = testing::AddRegister(module());
  const int sink = testing::AddSink(module());
  testing::Connect(module(), testing::AddSource(module(), "101"), reg);
  testing::Connect(module(), reg, sink);
  module().sinks.at(sink).position = {100, 100};
  ws.Check();
  ASSERT_TRUE(ws.IsSimulating());
  // The animation timer runs on while the modal dialog is open.
  ui.editSink = [&](SinkTransition&) { ws.RunWithoutAnimation(); };
  DoubleClick({100, 100});
  EXPECT_THAT(ui.sinkReceived, IsEmpty());
  EXPECT_EQ(NodeRunState(ws.simulation(), testing::LibraryOf(ws).currentInstance())
                .Received(sink)
                .ToVector(),
            (std::vector<int>{1, 0, 1}));
}

// Every field a dialog offers, changed while simulating: only what the run can take stays, and
// it stays after the simulation ends.
TEST_F(PropertyDialogsTest, WhileSimulatingADialogKeepsOnlyWhatTheRunCanTakeAndItOutlastsTheRun) {
  const int reg = testing::AddRegister(module(), "10");
  const int source = testing::AddSource(module(), "101", "in");
  const int counter = testing::AddCounter(module(), "x = a;", 2);
  const int sink = testing::AddSink(module(), "out");
  testing::Connect(module(), source, reg);
  testing::Connect(module(), reg, sink);
  const Point at[] = {{50, 50}, {150, 50}, {250, 50}, {350, 50}};
  module().shiftRegisters.at(reg).position = at[0];
  module().sources.at(source).position = at[1];
  module().counters.at(counter).position = at[2];
  module().sinks.at(sink).position = at[3];
  module().ResetHistory();
  const Module design = module();
  ws.Check();
  ASSERT_TRUE(ws.IsSimulating());

  ui.editRegister = [](ShiftRegister& r) {
    r.contents = "111";
    r.sizeFixed = true;
    r.size = 9;
    r.direction = 2;
  };
  ui.editSource = [](SourceTransition& s) {
    s.data = "0";
    s.holdValue = s.fromEnd = s.hexDisplay = true;
    s.name = "new";
  };
  ui.editCounter = [](Counter& c) {
    c.countText.source = "y = b;";
    c.countNumber = 5;
  };
  ui.editSink = [](SinkTransition& s) {
    s.name = "renamed";
    s.expected = "1";
    s.outputMode = 3;
    s.hexDisplay = true;
  };
  for (const Point p : at)
    DoubleClick(p);
  EXPECT_THAT(ui.opened, ElementsAre("shift register", "source", "counter", "sink"));

  ShiftRegister expected = design.shiftRegisters.at(reg);
  expected.direction = 2;
  EXPECT_EQ(module().shiftRegisters.at(reg), expected);
  EXPECT_EQ(module().sources.at(source), design.sources.at(source));
  EXPECT_EQ(module().counters.at(counter), design.counters.at(counter));
  EXPECT_EQ(module().sinks.at(sink), design.sinks.at(sink));

  ws.EndSimulation();
  EXPECT_EQ(module().shiftRegisters.at(reg), expected);
  ws.Undo();  // what the run took is one edit of the design
  EXPECT_EQ(module().shiftRegisters.at(reg), design.shiftRegisters.at(reg));
}

TEST_F(PropertyDialogsTest, EnteringAnInstanceThatCannotBeEnteredLogsOnlyWhileSimulating) {
  const int id = Place(CommandId::kModuleTool, {100, 100});
  module().instances.at(id).moduleName = "nowhere";  // a name without a node
  DoubleClick({100, 100});
  EXPECT_THAT(log.lines, IsEmpty());
  EXPECT_EQ(ws.documentTitle(), "untitle");
  ws.Check();
  log.lines.clear();
  DoubleClick({100, 100});
  EXPECT_THAT(log.lines, ElementsAre("モジュールがありません"));
}

}  // namespace
}  // namespace pelkor
