// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>

#include "edit/editor_fixture.h"
#include "support/workspace_probe.h"

namespace pelkor {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using PlacingTest = testing::EditorTest;

TEST_F(PlacingTest, EachPlacingToolAddsItsKindWhereThePressWasAndRecordsAnUndoStep) {
  const std::pair<CommandId, ObjectKind> tools[] = {
      {CommandId::kShiftRegisterTool, kShiftRegisterKind},
      {CommandId::kStateMachineTool, kStateMachineKind},
      {CommandId::kCounterTool, kCounterKind},
      {CommandId::kSourceTool, kSourceKind},
      {CommandId::kSinkTool, kSinkKind},
      {CommandId::kModuleTool, kInstanceKind},
  };
  int x = 30;
  for (const auto& [tool, kind] : tools) {
    const std::uint64_t before = Revision();
    const int id = Place(tool, {x, 60});
    EXPECT_EQ(module().KindOf(id), kind);
    EXPECT_EQ(*module().PositionOf(id), (Point{x, 60}));
    EXPECT_NE(Revision(), before);
    x += 60;
  }
  Click({30, 60});  // on the register: nothing is placed on top of it
  EXPECT_EQ(module().PrimitiveCount(), 6u);
}

TEST_F(PlacingTest, ANewRegisterShiftsRightOnlyWithShiftLineTwo) {
  for (const auto& [shiftLine, direction] : {std::pair{0, 0}, {1, 0}, {2, 2}}) {
    Settings settings;
    settings.shiftLine = shiftLine;
    ws.SetSettings(settings);
    const int id = Place(CommandId::kShiftRegisterTool, {50 + 60 * shiftLine, 50});
    EXPECT_EQ(module().shiftRegisters.at(id).direction, direction) << shiftLine;
  }
}

TEST_F(PlacingTest, CtrlOrTheGridSnapSnapsThePointToTheCentreOfItsGridCell) {
  testing::ViewOf(ws).origin = {0, -10};  // pixel (57, 7) is logical (57, -3)
  Tool(CommandId::kCounterTool);
  ws.KeyDown(kCtrlKey);
  Click({57, 7});
  ws.KeyUp(kCtrlKey);
  Click({157, 7});
  Press({257, 7}, true);
  EXPECT_THAT(module().counters,
              ElementsAre(::testing::Key(1), ::testing::Key(2), ::testing::Key(3)));
  EXPECT_EQ(module().counters.at(1).position, (Point{60, -20}));
  EXPECT_EQ(module().counters.at(2).position, (Point{157, -3}));
  EXPECT_EQ(module().counters.at(3).position, (Point{260, -20}));

  // The grid snap snaps without Ctrl.
  Settings snapping = ws.settings();
  snapping.desktop.gridSnap = true;
  ws.SetSettings(snapping);
  Click({357, 7});
  EXPECT_EQ(module().counters.at(4).position, (Point{340, -20}));
}

TEST_F(PlacingTest, APlacedPrimitiveCanBeDoubleClickedBeforeTheNextPaint) {
  Tool(CommandId::kShiftRegisterTool);
  ws.MousePress({100, 100});
  ws.MouseRelease({100, 100});
  ws.MouseDoubleClick({115, 85});
  EXPECT_THAT(ui.opened, ElementsAre("shift register"));
}

TEST_F(PlacingTest, TheEraserRemovesAnObjectWithItsArcsKindEntryAndTreeNode) {
  testing::LibraryOf(ws).CreateModule("sub");
  const int reg = Place(CommandId::kShiftRegisterTool, {100, 100});
  const int instance = Place(CommandId::kModuleTool, {250, 100});
  ui.names = {"sub"};
  DoubleClick({250, 100});
  ASSERT_TRUE(testing::LibraryOf(ws).rootInstance().children.contains(instance));
  DrawArc(reg, instance);
  const int rebuilds = ui.treeRebuilds;

  Tool(CommandId::kEraserTool);
  Click({250, 100});
  DoubleClick({100, 100});  // the eraser opens no dialog
  EXPECT_EQ(module().PositionOf(instance), nullptr);
  EXPECT_FALSE(module().kinds.contains(instance));
  EXPECT_THAT(module().arcs, IsEmpty());
  EXPECT_TRUE(testing::LibraryOf(ws).rootInstance().children.empty());
  EXPECT_EQ(ui.treeRebuilds, rebuilds + 1);
  EXPECT_THAT(ui.opened, ElementsAre("module name", "arc port"));
}

TEST_F(PlacingTest, ErasingASelectedObjectDropsTheSelection) {
  Place(CommandId::kSinkTool, {100, 100});
  Tool(CommandId::kEraserTool);
  RightClick({100, 100});  // selects it alone
  ASSERT_TRUE(ws.HasSelection());
  Click({100, 100});
  EXPECT_FALSE(ws.HasSelection());
  EXPECT_EQ(ws.SelectionTracker(), std::nullopt);
}

TEST_F(PlacingTest, TheToolsRestWhileASimulationRuns) {
  const int reg = Place(CommandId::kShiftRegisterTool, {100, 100});
  ws.Check();
  ASSERT_TRUE(ws.IsSimulating());
  EXPECT_FALSE(ws.Query(CommandId::kEraserTool).enabled);
  ws.ChooseTool(CommandId::kEraserTool);
  EXPECT_EQ(ws.mode(), Tool::kNone);
  ws.SetMode(Tool::kEraser);
  Click({100, 100});
  EXPECT_NE(module().PositionOf(reg), nullptr);
}

}  // namespace
}  // namespace pelkor
