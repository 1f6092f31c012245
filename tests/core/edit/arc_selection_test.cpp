// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>

#include "edit/editor_fixture.h"
#include "view/arc_path.h"
#include "view/scene_fixture.h"
#include "view/view_style.h"

namespace pelkor {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A source at (100, 100) with an arc through the bend (100, 250) into a register at (300, 250).
class ArcSelectionTest : public testing::EditorTest {
 protected:
  void SetUp() override {
    source = Place(CommandId::kSourceTool, {100, 100});
    target = Place(CommandId::kShiftRegisterTool, {300, 250});
    DrawArc(source, target, {{100, 250}});
    arc = module().nextArcId - 1;
    Tool(CommandId::kMoveTool);
  }
  std::size_t SelectionOps() {
    Paint();
    return testing::OpsOf(frame.overlay.ops, DrawShape::kLine, kDefaultSelectionColour).size();
  }

  int source = 0;
  int target = 0;
  int arc = 0;
};

// A selected arc is retraced in the selection colour: two pieces, each a line and two strokes.
TEST_F(ArcSelectionTest, AClickOnEitherPieceSelectsTheArcAndAClickBesideItNothing) {
  const struct {
    Point at;
    bool selects;
  } cases[] = {{{100, 180}, true},  {{103, 180}, true},  {{200, 252}, true},
               {{108, 180}, false}, {{200, 259}, false}, {{50, 50}, false}};
  for (const auto& c : cases) {
    Click(c.at);
    EXPECT_EQ(module().selection.selectedArcs.contains(arc), c.selects) << c.at.x << "," << c.at.y;
    EXPECT_EQ(ws.SelectionTracker(), std::nullopt);  // an arc has no tracker to drag
    EXPECT_EQ(SelectionOps(), c.selects ? 6u : 0u);
  }
}

TEST_F(ArcSelectionTest, DeleteRemovesOnlyTheArcAndUndoBringsItBack) {
  Click({100, 180});
  const Arc drawn = module().arcs.at(arc);
  ws.KeyDown(kDeleteKey);
  EXPECT_THAT(module().arcs, IsEmpty());
  EXPECT_TRUE(module().arcsInto.empty());
  EXPECT_NE(module().PositionOf(source), nullptr);
  EXPECT_NE(module().PositionOf(target), nullptr);
  EXPECT_FALSE(ws.HasSelection());
  ws.Execute(CommandId::kUndo);
  EXPECT_EQ(module().arcs.at(arc), drawn);
}

TEST_F(ArcSelectionTest, SelectedObjectsAreOutlinedAndPastedOnesStaySelected) {
  Press({300, 250});
  Release({300, 250});
  Paint();
  EXPECT_EQ(
      testing::OpsOf(frame.overlay.ops, DrawShape::kRectangle, kDefaultSelectionColour).size(), 1u);
  ws.Execute(CommandId::kCopy);
  Press({200, 50});
  Release({200, 50});
  ws.Execute(CommandId::kPaste);
  const int pasted = module().nextObjectId - 1;
  EXPECT_THAT(module().selection.selectedIds, ElementsAre(pasted));
  ASSERT_TRUE(ws.SelectionTracker());
  const Point from = *module().PositionOf(pasted);
  Press(from);  // moved at once, without selecting it again
  Move({from.x + 20, from.y});
  Release({from.x + 20, from.y});
  EXPECT_EQ(*module().PositionOf(pasted), (Point{from.x + 20, from.y}));
  EXPECT_EQ(*module().PositionOf(target), (Point{300, 250}));
}

TEST(ArcAtTest, TheLastDrawnOfTwoCrossingArcsWinsAtEveryZoom) {
  Module module;
  const int a = module.AddSource({}, {0, 0});
  const int b = module.AddShiftRegister({}, {400, 400});
  const int c = module.AddSource({}, {400, 0});
  const int d = module.AddShiftRegister({}, {0, 400});
  module.AddArc(a, b, {}, "");
  const int second = module.AddArc(c, d, {}, "") - 1;
  for (int zoom : {0, 1, 2}) {
    ViewState view;
    view.zoomLevel = zoom;
    view.scale = 1 << zoom;
    const Point crossing{200 / view.scale, 200 / view.scale};
    EXPECT_EQ(ArcAt(module, view, crossing), second) << zoom;
    EXPECT_EQ(ArcAt(module, view, {crossing.x + 10, crossing.y}), 0) << zoom;
  }
}

}  // namespace
}  // namespace pelkor
