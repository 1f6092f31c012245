// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>

#include "edit/editor_fixture.h"
#include "files/design_file.h"
#include "support/workspace_probe.h"

namespace pelkor {
namespace {

using ::testing::ElementsAre;

class MoveToolTest : public testing::EditorTest {
 protected:
  void SetUp() override {
    first = Place(CommandId::kShiftRegisterTool, {100, 100});
    second = Place(CommandId::kCounterTool, {200, 150});
    Tool(CommandId::kMoveTool);
  }
  Point PositionOf(int id) { return *module().PositionOf(id); }
  void Drag(Point from, Point to) {
    Press(from);
    Move(to);
    Release(to);
  }

  int first = 0;
  int second = 0;
};

TEST_F(MoveToolTest, ARubberBandSelectsTheCentresItCoversAndAnEmptyOneNothing) {
  Drag({300, 250}, {150, 20});  // dragged up and to the left
  EXPECT_THAT(module().selection.selectedIds, ElementsAre(second));
  EXPECT_EQ(ws.SelectionTracker(), (Rect{180, 130, 220, 170}));
  Paint();
  EXPECT_EQ(frame.trackerRect, ws.SelectionTracker());

  Drag({250, 200}, {390, 290});
  EXPECT_FALSE(ws.HasSelection());
  EXPECT_EQ(ws.SelectionTracker(), std::nullopt);
  EXPECT_FALSE(module().selection.selectedIds.contains(second));
}

TEST_F(MoveToolTest, ARubberBandIsClampedToTheClientArea) {
  testing::ViewOf(ws).width = 150;  // the counter at pixel (200, 150) lies beyond the right edge
  Drag({0, 0}, {900, 900});
  EXPECT_THAT(module().selection.selectedIds, ElementsAre(first));
}

TEST_F(MoveToolTest, AFivePixelDragAtZoomLevelOneMovesTenLogicalUnits) {
  testing::ViewOf(ws).zoomLevel = 1;
  testing::ViewOf(ws).scale = 2;
  Press({50, 50});  // the register, at logical (100, 100)
  Move({55, 50});
  EXPECT_EQ(PositionOf(first), (Point{110, 100}));
  Release({55, 50});
  EXPECT_EQ(PositionOf(first), (Point{110, 100}));
  EXPECT_EQ(PositionOf(second), (Point{200, 150}));
}

TEST_F(MoveToolTest, AClickWithoutMotionDoesNotMoveBySomeEarlierDrag) {
  Drag({100, 100}, {130, 100});
  ASSERT_EQ(PositionOf(first), (Point{130, 100}));
  Click({120, 100});
  EXPECT_EQ(PositionOf(first), (Point{130, 100}));
}

TEST_F(MoveToolTest, APressInsideTheTrackerDragsTheWholeSelection) {
  module().AddArc(first, second, {{150, 50}}, "");
  Drag({50, 50}, {250, 200});
  Drag({150, 125}, {160, 105});  // empty space inside the frame
  EXPECT_EQ(PositionOf(first), (Point{110, 80}));
  EXPECT_EQ(PositionOf(second), (Point{210, 130}));
  EXPECT_THAT(module().arcs.begin()->second.bends, ElementsAre(Point{160, 30}));
}

TEST_F(MoveToolTest, PressingAnObjectOutsideTheSelectionSelectsItAlone) {
  Drag({50, 50}, {250, 200});
  Press({210, 160});  // inside the frame: keeps both
  Release({210, 160});
  EXPECT_EQ(module().selection.selectedIds.size(), 2u);
  Drag({50, 50}, {150, 120});  // only the register
  Click({200, 150});
  EXPECT_THAT(module().selection.selectedIds, ElementsAre(second));
}

TEST_F(MoveToolTest, DeleteAndBackspaceRemoveTheSelection) {
  for (int key : {kDeleteKey, kBackspaceKey}) {
    const int id = Place(CommandId::kSinkTool, {300, 50});
    Tool(CommandId::kMoveTool);
    Click({300, 50});
    ws.KeyDown(key);
    ws.KeyUp(key);
    EXPECT_EQ(module().PositionOf(id), nullptr) << key;
    EXPECT_FALSE(ws.HasSelection());
    EXPECT_EQ(state().lastKey, 0);
  }
}

TEST_F(MoveToolTest, ChoosingAToolDropsTheSelection) {
  Drag({50, 50}, {250, 200});
  Tool(CommandId::kArcTool);
  EXPECT_FALSE(ws.HasSelection());
  EXPECT_EQ(ws.mode(), Tool::kArc);
  EXPECT_EQ(ws.Query(CommandId::kArcTool), (CommandState{true, true}));
}

// A drag, a copy pasted elsewhere and that copy deleted, each one edit: undo first brings the
// deleted copy back, then takes the paste away, then the drag; redo walks forward again.
TEST_F(MoveToolTest, UndoBringsBackADeletedPasteBeforeItUndoesTheEarlierEdits) {
  const std::string start = WriteModule(module());
  Drag({50, 50}, {250, 200});  // both objects
  Drag({150, 125}, {180, 125});
  const std::string dragged = WriteModule(module());
  ws.Copy(testing::ViewOf(ws).viewport());
  Click({300, 200});  // empty space: the paste point
  ws.Paste(testing::ViewOf(ws).viewport());
  const std::string pasted = WriteModule(module());
  ASSERT_EQ(module().PrimitiveCount(), 4u);
  Drag({395, 299}, {240, 165});  // a band around the pasted copy only
  ASSERT_EQ(module().selection.selectedIds.size(), 2u);
  ws.KeyDown(kDeleteKey);
  const std::string deleted = WriteModule(module());
  ASSERT_EQ(module().PrimitiveCount(), 2u);

  for (const std::string* expected : {&pasted, &dragged, &start}) {
    ws.Undo();
    EXPECT_EQ(WriteModule(module()), *expected);
  }
  for (const std::string* expected : {&dragged, &pasted, &deleted}) {
    ws.Redo();
    EXPECT_EQ(WriteModule(module()), *expected);
  }
}

}  // namespace
}  // namespace pelkor
