// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include <gmock/gmock.h>

#include "edit/editor_fixture.h"
#include "sim/sim_fixture.h"
#include "support/workspace_probe.h"

namespace pelkor {
namespace {

using ::testing::ElementsAre;

using HoverAndKeysTest = testing::EditorTest;

TEST_F(HoverAndKeysTest, ARegisterUnderThePointerGetsAFrameAndShowsItsTokens) {
  const int id = Place(CommandId::kShiftRegisterTool, {100, 100});
  module().shiftRegisters.at(id).contents = "0011";
  const int redraws = ui.redraws;
  Move({105, 95});
  EXPECT_EQ(state().hoverObject, id);
  ASSERT_EQ(ws.HoverFrameDrawing().ops.size(), 1u);
  EXPECT_EQ(ws.HoverFrameDrawing().ops[0].Points()[0], (Point{77, 77}));
  EXPECT_FALSE(state().hoverStale);
  EXPECT_EQ(state().tooltipText, "1100");
  EXPECT_EQ(ui.redraws, redraws);

  Move({300, 250});
  EXPECT_EQ(state().hoverObject, 0);
  EXPECT_TRUE(ws.HoverFrameDrawing().ops.empty());
  EXPECT_TRUE(state().hoverStale);
  EXPECT_EQ(ui.notifications.back(), ChangeSet(Change::kOverlay));  // only the frame goes
  EXPECT_EQ(ui.redraws, redraws);
  EXPECT_THAT(ui.tooltips, ElementsAre("1100", ""));
}

TEST_F(HoverAndKeysTest, AStateMachineShowsItsMainStatesFirstText) {
  const int id = Place(CommandId::kStateMachineTool, {100, 100});
  StateMachine& machine = module().stateMachines.at(id);
  machine.states[1].firstText.source = "y = b;";
  machine.states[2].firstText.source = "x = a;";
  machine.mainState = 2;
  machine.ResetNextIds();
  Move({100, 100});
  EXPECT_EQ(state().tooltipText, "x = a;");
}

TEST_F(HoverAndKeysTest, WhileAnArcIsDrawnOnlyItsPossibleEndsGetAFrame) {
  Place(CommandId::kShiftRegisterTool, {100, 100});
  Place(CommandId::kShiftRegisterTool, {200, 100});
  Place(CommandId::kCounterTool, {300, 100});
  Place(CommandId::kSourceTool, {100, 200});
  Place(CommandId::kSinkTool, {200, 200});
  const struct {
    Point start;
    Point hovered;
    bool framed;
  } cases[] = {
      {{100, 100}, {200, 100}, false}, {{100, 100}, {300, 100}, true},
      {{100, 100}, {100, 200}, false}, {{100, 100}, {200, 200}, true},
      {{300, 100}, {200, 100}, true},  {{300, 100}, {200, 200}, false},
      {{100, 200}, {100, 100}, true},  {{100, 200}, {300, 100}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.start.x << "," << c.start.y << " over " << c.hovered.x << "," << c.hovered.y);
    Tool(CommandId::kArcTool);
    Click(c.start);
    Move(c.hovered);
    EXPECT_EQ(state().hoverObject != 0, c.framed);
  }
}

TEST_F(HoverAndKeysTest, TheStatusBarGetsTheLogicalPointWithoutSnapping) {
  testing::ViewOf(ws).scale = 2;
  testing::ViewOf(ws).origin = {-40, 10};
  ws.KeyDown(kCtrlKey);
  Move({17, 20}, true);
  EXPECT_EQ(ui.pointer, (Point{-6, 50}));
}

TEST_F(HoverAndKeysTest, WhileSimulatingARegisterShowsItsCellsTheWayTheDataFlows) {
  const int reg = testing::AddRegister(module(), "1", 3);
  module().shiftRegisters.at(reg).position = {100, 100};
  ws.Check();
  ASSERT_TRUE(ws.IsSimulating());
  Move({100, 100});
  const std::string leftward = state().tooltipText;
  module().shiftRegisters.at(reg).direction = 2;
  Move({300, 200});
  Move({100, 100});
  std::string rightward = state().tooltipText;
  EXPECT_EQ(std::count(rightward.begin(), rightward.end(), '-'), 2);
  std::reverse(rightward.begin(), rightward.end());
  EXPECT_EQ(leftward, rightward);
  EXPECT_EQ(ui.tooltips.at(1), "");
}

TEST_F(HoverAndKeysTest, WhileSimulatingAMachineShowsTheStateItIsIn) {
  const int in = testing::AddRegister(module(), "1");
  const int machine =
      testing::AddMachine(module(), {{1, "/one", "go = a;"}, {2, "/two", "back = a;"}},
                          {{1, 2, "go"}, {2, 1, "back"}}, 1);
  testing::Connect(module(), in, machine);
  module().stateMachines.at(machine).position = {100, 100};
  ws.Check();
  ASSERT_TRUE(ws.IsSimulating());
  Move({100, 100});
  EXPECT_EQ(state().tooltipText, "/one");
  ws.RunWithoutAnimation();
  Move({300, 200});
  Move({100, 100});
  EXPECT_EQ(state().tooltipText, "/two");
}

TEST_F(HoverAndKeysTest, ArrowKeysAndTheMiddleButtonPanTheView) {
  testing::ViewOf(ws).zoomLevel = 1;
  testing::ViewOf(ws).scale = 2;
  const std::pair<int, Point> keys[] = {
      {kLeftKey, {20, 0}}, {kUpKey, {0, 20}}, {kRightKey, {-20, 0}}, {kDownKey, {0, -20}}};
  for (const auto& [key, moved] : keys) {
    const Point before = testing::ViewOf(ws).baseOrigin;
    ws.KeyDown(key);
    EXPECT_EQ(testing::ViewOf(ws).baseOrigin, before + moved) << key;
  }
  EXPECT_EQ(testing::ViewOf(ws).origin, (Point{-200, -150}));

  const int id = Place(CommandId::kSinkTool, {100, 100});
  Tool(CommandId::kMoveTool);
  Press({100, 100});  // a drag of the sink, while the middle button pans
  ws.MiddleButtonPress({100, 100});
  Move({130, 90});
  EXPECT_EQ(testing::ViewOf(ws).baseOrigin, (Point{-60, 20}));
  EXPECT_EQ(testing::ViewOf(ws).scrollExtent.left, -260);
  ws.MiddleButtonRelease({130, 90});
  Move({140, 90});
  EXPECT_EQ(testing::ViewOf(ws).baseOrigin, (Point{-60, 20}));
  EXPECT_EQ(*module().PositionOf(id), (Point{80, 30}));
}

TEST_F(HoverAndKeysTest, GoingUpEndsTheArcAndDropsTheSelection) {
  testing::LibraryOf(ws).CreateModule("sub");
  const int instance = Place(CommandId::kModuleTool, {100, 100});
  ui.names = {"sub"};
  DoubleClick({100, 100});
  DoubleClick({100, 100});
  Place(CommandId::kShiftRegisterTool, {200, 200});
  Tool(CommandId::kArcTool);
  RightClick({200, 200});
  Click({200, 200});
  ASSERT_TRUE(state().arcInProgress);
  Module& sub = module();
  ws.GoUp();
  EXPECT_FALSE(state().arcInProgress);
  EXPECT_TRUE(sub.selection.Empty());
  EXPECT_EQ(module().instances.count(instance), 1u);
}

TEST_F(HoverAndKeysTest, EscapeEndsTheArcFirstThenPutsTheToolDown) {
  Place(CommandId::kShiftRegisterTool, {200, 200});
  Tool(CommandId::kArcTool);
  RightClick({200, 200});
  Click({200, 200});
  ASSERT_TRUE(state().arcInProgress);
  ws.KeyDown(kEscapeKey);
  EXPECT_FALSE(state().arcInProgress);
  EXPECT_EQ(ws.mode(), Tool::kArc);
  ws.KeyDown(kEscapeKey);
  EXPECT_EQ(ws.mode(), Tool::kNone);
  EXPECT_FALSE(ws.Query(CommandId::kArcTool).checked);
}

TEST_F(HoverAndKeysTest, SelectAllTakesEveryPrimitiveOfTheModuleShown) {
  EXPECT_FALSE(ws.Query(CommandId::kSelectAll).enabled);  // nothing to select
  const int a = Place(CommandId::kShiftRegisterTool, {100, 100});
  const int b = Place(CommandId::kSinkTool, {200, 100});
  const int c = Place(CommandId::kCounterTool, {300, 100});
  ASSERT_TRUE(ws.Execute(CommandId::kSelectAll));
  for (const int id : {a, b, c})
    EXPECT_EQ(module().selection.selectedIds.count(id), 1u) << id;
  ws.Execute(CommandId::kDelete);
  EXPECT_EQ(module().PrimitiveCount(), 0u);
}

}  // namespace
}  // namespace pelkor
