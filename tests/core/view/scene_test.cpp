// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "scene_fixture.h"
#include "support/records.h"
#include "view/text_fit.h"
#include "view/view_font.h"

namespace pelkor {
namespace {

using testing::At;
using testing::CornersOf;
using testing::OpsOf;
using testing::Paint;
using testing::TextOp;
using testing::ViewAt;

const ViewStyle kStyle;
const ColorRef kRegisterColour = kStyle.Colour(kShiftRegisterKind);
const ColorRef kArcPen = kStyle.Colour(kArcColour);
const ColorRef kGridPen = kStyle.Colour(kGridColour);

// Places a primitive of a kind; `flagged` sets twoStepMode on a state machine and hasNewArc on
// a module instance.
int Place(Module& module, ObjectKind kind, Point at, bool flagged = false) {
  switch (kind) {
    case kShiftRegisterKind:
      return module.AddShiftRegister(At<ShiftRegister>(at));
    case kStateMachineKind: {
      auto machine = At<StateMachine>(at);
      machine.twoStepMode = flagged;
      return module.AddStateMachine(machine);
    }
    case kCounterKind:
      return module.AddCounter(At<Counter>(at));
    case kSourceKind:
      return module.AddSource(At<SourceTransition>(at));
    case kSinkKind:
      return module.AddSink(At<SinkTransition>(at));
    default: {
      auto instance = At<ModuleInstance>(at);
      instance.hasNewArc = flagged;
      return module.AddInstance(instance);
    }
  }
}

TEST(SceneTest, RegisterAtScaleOneIsItsRectangleAndHitSquare) {
  Module module;
  const int id = Place(module, kShiftRegisterKind, {100, 100});
  const auto painted = Paint(module, ViewAt(0));
  const auto rectangles = OpsOf(painted.ops(), DrawShape::kRectangle, kRegisterColour);
  ASSERT_EQ(rectangles.size(), 1u);
  EXPECT_EQ(CornersOf(rectangles[0]), (Rect{80, 87, 120, 113}));
  EXPECT_EQ(rectangles[0].pen->width, 3);
  EXPECT_EQ(rectangles[0].brush, kWhite);
  for (const Point inside : {Point{80, 80}, Point{119, 119}, Point{100, 100}})
    EXPECT_EQ(painted.hits.At(inside), id);
  for (const Point outside : {Point{79, 100}, Point{120, 100}, Point{100, 79}, Point{100, 120}})
    EXPECT_EQ(painted.hits.At(outside), 0);
}

TEST(SceneTest, ShapesFollowTheScale) {
  struct Case {
    ObjectKind kind;
    int zoomLevel;
    DrawShape shape;
    Rect corners;  // the first two points
  };
  // Every primitive stands at (640, 640) with the origin at (0, 0).
  const Case cases[] = {
      {kShiftRegisterKind, 2, DrawShape::kRectangle, {155, 157, 165, 163}},
      {kShiftRegisterKind, 4, DrawShape::kLine, {39, 40, 41, 40}},
      {kShiftRegisterKind, 5, DrawShape::kPixel, {20, 20, 0, 0}},
      {kStateMachineKind, 1, DrawShape::kRectangle, {314, 310, 326, 330}},
      {kStateMachineKind, 4, DrawShape::kLine, {40, 39, 40, 41}},
      {kCounterKind, 0, DrawShape::kEllipse, {620, 620, 660, 660}},
      {kCounterKind, 4, DrawShape::kEllipse, {39, 39, 41, 41}},
      {kCounterKind, 5, DrawShape::kPixel, {20, 20, 0, 0}},
      {kInstanceKind, 3, DrawShape::kRectangle, {78, 78, 82, 82}},
      {kSourceKind, 0, DrawShape::kPolygon, {640, 630, 660, 640}},  // the filled front
      {kSinkKind, 5, DrawShape::kPixel, {20, 20, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "kind " << c.kind << " level " << c.zoomLevel);
    Module module;
    Place(module, c.kind, {640, 640});
    const auto painted = Paint(module, ViewAt(c.zoomLevel, {}, 800, 800));
    const auto found = OpsOf(painted.ops(), c.shape, kStyle.Colour(c.kind));
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(CornersOf(found[0]), c.corners);
    if (c.shape != DrawShape::kPixel && c.shape != DrawShape::kPolygon) {
      EXPECT_EQ(found[0].pen->width, PenWidthForScale(1 << c.zoomLevel));
    }
  }
}

TEST(SceneTest, TheLaterKindOrTheHigherIdWinsAnOverlap) {
  struct Case {
    ObjectKind first;  // placed first, so with the lower ID
    bool firstFlagged;
    ObjectKind second;
    bool secondFlagged;
    bool firstWins;
  };
  const Case cases[] = {
      {kSinkKind, false, kSourceKind, false, true},
      {kShiftRegisterKind, false, kShiftRegisterKind, false, false},
      {kStateMachineKind, false, kShiftRegisterKind, false, true},
      {kInstanceKind, false, kCounterKind, false, true},
      {kSourceKind, false, kInstanceKind, false, true},
      // Switching machines and instances with a "new" input come after the rest of their kind.
      {kStateMachineKind, true, kStateMachineKind, false, true},
      {kInstanceKind, true, kInstanceKind, false, true},
      {kStateMachineKind, false, kStateMachineKind, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.first << " then " << c.second);
    Module module;
    const int first = Place(module, c.first, {100, 100}, c.firstFlagged);
    const int second = Place(module, c.second, {110, 100}, c.secondFlagged);
    const auto painted = Paint(module, ViewAt(0));
    EXPECT_EQ(painted.hits.At({105, 100}), c.firstWins ? first : second);
    EXPECT_EQ(painted.hits.At({85, 100}), first);
    EXPECT_EQ(painted.hits.At({125, 100}), second);
  }
}

TEST(SceneTest, NothingCanBeHitAtScale32) {
  Module module;
  for (const ObjectKind kind :
       {kShiftRegisterKind, kStateMachineKind, kCounterKind, kInstanceKind, kSourceKind, kSinkKind})
    Place(module, kind, {640, 640 + 64 * kind});
  const auto painted = Paint(module, ViewAt(5));
  EXPECT_EQ(OpsOf(painted.ops(), DrawShape::kPixel, kRegisterColour).size(), 1u);
  for (int y = 0; y < painted.hits.height(); ++y) {
    for (int x = 0; x < painted.hits.width(); ++x)
      ASSERT_EQ(painted.hits.At({x, y}), 0) << x << "," << y;
  }
}

TEST(SceneTest, TheFirstGridLineLiesOnTheFirstMultipleOfTheGrid) {
  struct Case {
    int zoomLevel;
    int originX;
    int firstX;
    int secondX;
  };
  const Case cases[] = {
      {0, -25, 25, 65}, {0, 15, 25, 65}, {0, 0, 40, 80},  // a line on the very edge is skipped
      {1, -25, 12, 32}, {2, 100, 5, 15},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "origin " << c.originX << " level " << c.zoomLevel);
    const auto painted = Paint(Module(), ViewAt(c.zoomLevel, {c.originX, 0}));
    std::vector<int> xs;
    for (const DrawOp& line : OpsOf(painted.ops(), DrawShape::kLine, kGridPen)) {
      if (line.points[0].x == line.points[1].x) {
        xs.push_back(line.points[0].x);
        EXPECT_EQ(line.points[0].y, 0);
        EXPECT_EQ(line.points[1].y, 300 + 40);
      }
    }
    ASSERT_GE(xs.size(), 2u);
    EXPECT_EQ(xs[0], c.firstX);
    EXPECT_EQ(xs[1], c.secondX);
    EXPECT_LE(xs.back(), 400);
  }
}

TEST(SceneTest, NoGridBeyondScaleFour) {
  for (const int level : {3, 4, 5}) {
    const auto painted = Paint(Module(), ViewAt(level));
    EXPECT_TRUE(OpsOf(painted.ops(), DrawShape::kLine, kGridPen).empty()) << level;
  }
}

TEST(SceneTest, GridSizeZeroDrawsNoGridInsteadOfDividingByZero) {
  for (const int gridSize : {0, 1, -40}) {
    ViewStyle style;
    style.gridSize = gridSize;
    const auto painted = Paint(Module(), ViewAt(2), nullptr, {}, style);
    EXPECT_TRUE(OpsOf(painted.ops(), DrawShape::kLine, kGridPen).empty()) << gridSize;
  }
}

TEST(SceneTest, AnEmptyModulePaintsOnlyTheBackgroundAndTheGrid) {
  const auto painted = Paint(Module(), ViewAt(0));
  ASSERT_FALSE(painted.ops().empty());
  EXPECT_EQ(painted.ops()[0].shape, DrawShape::kFillRect);
  EXPECT_EQ(CornersOf(painted.ops()[0]), (Rect{0, 0, 400, 300}));
  EXPECT_EQ(painted.ops()[0].brush, kStyle.Colour(kBackgroundColour));
  EXPECT_EQ(OpsOf(painted.ops(), DrawShape::kLine, kGridPen).size(), painted.ops().size() - 1);
  EXPECT_FALSE(painted.frame.trackerRect);
}

TEST(SceneTest, AnArcStopsShortOfItsTargetWithAnArrowhead) {
  Module module;
  const int from = Place(module, kShiftRegisterKind, {100, 100});
  const int to = Place(module, kCounterKind, {300, 100});
  module.AddArc(from, to, {}, "x");
  const auto painted = Paint(module, ViewAt(0));
  const auto lines = OpsOf(painted.ops(), DrawShape::kLine, kArcPen);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].points[0], (Point{100, 100}));
  EXPECT_EQ(lines[0].points[1], (Point{273, 100}));
  EXPECT_EQ(lines[0].pen->width, 3);
  for (const DrawOp& stroke : {lines[1], lines[2]}) {
    EXPECT_EQ(stroke.points[0], (Point{273, 100}));
    const Point d = stroke.points[1] - stroke.points[0];
    EXPECT_NEAR(std::hypot(d.x, d.y), 10.0, 0.5);
    EXPECT_EQ(d.x, -9);  // back toward the source
  }
  // The name stands at the middle of the line.
  ASSERT_TRUE(TextOp(painted.ops(), "x"));
  EXPECT_EQ(TextOp(painted.ops(), "x")->points[0], (Point{186, 100}));
  // Arcs are not hit: only the boxes are.
  EXPECT_EQ(painted.hits.At({200, 100}), 0);
}

TEST(SceneTest, EveryBendEndsInAnArrowheadAndTheArcCutsOnlyItsLastPiece) {
  Module module;
  const int from = Place(module, kShiftRegisterKind, {100, 100});
  const int to = Place(module, kSinkKind, {300, 300});
  module.AddArc(from, to, {{100, 300}}, "n");
  const auto painted = Paint(module, ViewAt(1));
  const auto lines = OpsOf(painted.ops(), DrawShape::kLine, kArcPen);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].points[0], (Point{50, 50}));
  EXPECT_EQ(lines[0].points[1], (Point{50, 150}));
  EXPECT_EQ(lines[3].points[0], (Point{50, 150}));
  EXPECT_EQ(lines[3].points[1], (Point{137, 150}));  // 27 / 2 = 13 short of 150
  EXPECT_FALSE(TextOp(painted.ops(), "n"));          // no names beyond scale 1
}

TEST(SceneTest, TheRubberBandRunsFromTheSourceThroughTheBends) {
  Module module;
  const int source = Place(module, kShiftRegisterKind, {100, 100});
  SceneOverlay overlay;
  overlay.arc = ArcInProgress{source, {{100, 200}}, {300, 200}};
  const auto painted = Paint(module, ViewAt(0), nullptr, overlay);
  const auto lines = OpsOf(painted.ops(), DrawShape::kLine, kArcPen);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].points[1], (Point{100, 200}));
  EXPECT_EQ(lines[3].points[0], (Point{100, 200}));
  EXPECT_EQ(lines[3].points[1], (Point{300, 200}));  // the rubber band is not cut short

  overlay.arc->source = 99;  // erased meanwhile
  EXPECT_TRUE(
      OpsOf(Paint(module, ViewAt(0), nullptr, overlay).ops(), DrawShape::kLine, kArcPen).empty());
}

TEST(SceneTest, PrimitivesJustOutsideTheMarginsAreNeitherDrawnNorHit) {
  struct Case {
    ObjectKind kind;
    bool flagged;
    Point at;
    bool drawn;
  };
  const Case cases[] = {
      {kShiftRegisterKind, false, {-24, 100}, true}, {kShiftRegisterKind, false, {-25, 100}, false},
      {kShiftRegisterKind, false, {424, 100}, true}, {kShiftRegisterKind, false, {425, 100}, false},
      {kShiftRegisterKind, false, {100, -14}, true}, {kShiftRegisterKind, false, {100, -15}, false},
      {kStateMachineKind, false, {-15, 100}, false}, {kStateMachineKind, false, {100, -24}, true},
      {kStateMachineKind, true, {-15, 100}, true},   {kCounterKind, false, {100, 325}, false},
      {kSinkKind, false, {100, 324}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.kind << " at " << c.at.x << "," << c.at.y);
    Module module;
    Place(module, c.kind, c.at, c.flagged);
    const auto painted = Paint(module, ViewAt(0));
    const ColorRef colour = c.flagged ? kStyle.Colour(kSwitchColour) : kStyle.Colour(c.kind);
    const bool anyShape =
        std::any_of(painted.ops().begin(), painted.ops().end(), [&](const DrawOp& op) {
          return op.pen && op.pen->colour == colour && op.shape != DrawShape::kLine;
        });
    EXPECT_EQ(anyShape, c.drawn);
  }
}

TEST(SceneTest, LabelsStandBesideTheirPrimitivesAtScaleOne) {
  Module module;
  auto shiftRegister = At<ShiftRegister>({100, 100});
  shiftRegister.contents = "01101";  // shown in shift order, reversed: "1011"
  shiftRegister.size = 3;
  module.AddShiftRegister(shiftRegister);
  auto counter = At<Counter>({200, 100});
  counter.countNumber = 12;
  module.AddCounter(counter);
  auto instance = At<ModuleInstance>({300, 100});
  instance.moduleName = "adder";
  module.AddInstance(instance);
  auto source = At<SourceTransition>({100, 200});
  source.name = "a";
  module.AddSource(source);
  auto sink = At<SinkTransition>({200, 200});
  sink.name = "y";
  module.AddSink(sink);
  auto discarding = sink;
  discarding.position = {300, 200};
  discarding.outputMode = 2;
  module.AddSink(discarding);

  struct Label {
    const char* text;
    Point at;
  };
  const Label labels[] = {{"1011", {82, 93}},    {"<3>", {100, 75}},  {"12", {194, 94}},
                          {"adder", {300, 125}}, {"<a>", {100, 175}}, {"<y>", {200, 175}},
                          {"破棄", {300, 175}}};
  const auto painted = Paint(module, ViewAt(0));
  for (const Label& label : labels) {
    SCOPED_TRACE(label.text);
    const auto op = TextOp(painted.ops(), label.text);
    ASSERT_TRUE(op);
    EXPECT_EQ(op->points[0], label.at);
    EXPECT_EQ(op->pen->colour, kTextColour);
  }
  // "破棄" takes the place of the name instead of overwriting it.
  EXPECT_EQ(std::count_if(painted.ops().begin(), painted.ops().end(),
                          [](const DrawOp& op) { return op.text == "<y>"; }),
            1);

  const auto atTwo = Paint(module, ViewAt(1));
  EXPECT_TRUE(TextOp(atTwo.ops(), "12"));  // counters keep their number at scale 2
  EXPECT_FALSE(TextOp(atTwo.ops(), "1011"));
  EXPECT_FALSE(TextOp(atTwo.ops(), "破棄"));
  EXPECT_FALSE(TextOp(Paint(module, ViewAt(2)).ops(), "12"));
}

TEST(SceneTest, ObjectIdsShowOnlyWhenAskedAndOnlyAtScaleOne) {
  Module module;
  Place(module, kShiftRegisterKind, {100, 100});
  const int machine = Place(module, kStateMachineKind, {200, 100});
  ViewState view = ViewAt(0);
  EXPECT_FALSE(TextOp(Paint(module, view).ops(), "2"));
  view.showObjectIds = true;
  const auto shown = TextOp(Paint(module, view).ops(), std::to_string(machine));
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->points[0], (Point{220, 80}));
  view = ViewAt(1);
  view.showObjectIds = true;
  EXPECT_FALSE(TextOp(Paint(module, view).ops(), "2"));
}

TEST(SceneTest, ObjectIdsKeepClearOfTheLabelsAboveTheirObjects) {
  Module module;
  SourceTransition source;
  source.name = "in";
  module.AddSource(source, {100, 100});
  SinkTransition sink;
  sink.name = "出力";
  module.AddSink(sink, {300, 100});
  ShiftRegister wide;
  wide.size = 12;
  module.AddShiftRegister(wide, {100, 220});
  module.AddShiftRegister({}, {300, 220});
  module.AddStateMachine({}, {200, 160});
  ViewState view = ViewAt(0);
  view.showObjectIds = true;
  const testing::Painted painted = Paint(module, view);
  const LogFont& font = painted.frame.picture.font;
  const auto box = [&](const DrawOp& op) {
    return Rect{op.points[0].x, op.points[0].y, op.points[0].x + TextWidth(op.text, font),
                op.points[0].y + FontPixelHeight(font)};
  };
  const auto overlap = [](Rect a, Rect b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
  };
  std::vector<DrawOp> texts;
  std::copy_if(painted.ops().begin(), painted.ops().end(), std::back_inserter(texts),
               [](const DrawOp& op) { return op.shape == DrawShape::kText; });
  for (int id = 1; id < module.nextObjectId; ++id) {
    const auto label = TextOp(texts, std::to_string(id));
    ASSERT_TRUE(label) << id;
    for (const DrawOp& other : texts) {
      if (other.text != label->text) {
        EXPECT_FALSE(overlap(box(*label), box(other))) << id << " over " << other.text;
      }
    }
  }
}

TEST(SceneTest, TheTrackerFramesTheSelectedCentresWidenedByHalfABox) {
  struct Case {
    int zoomLevel;
    Rect expected;
  };
  const Case cases[] = {{0, {80, 80, 220, 170}}, {1, {40, 40, 110, 85}}, {5, {3, 3, 6, 4}}};
  for (const Case& c : cases) {
    Selection selection;  // of an object the module lacks: only the tracker is drawn
    selection.selectedIds = {1};
    selection.bounds = Rect{100, 100, 200, 150};
    SceneOverlay overlay;
    overlay.selection = &selection;
    const auto painted = Paint(Module(), ViewAt(c.zoomLevel), nullptr, overlay);
    EXPECT_EQ(painted.frame.trackerRect, c.expected) << c.zoomLevel;
    ASSERT_EQ(painted.frame.overlay.ops.size(), 1u);
    EXPECT_EQ(CornersOf(painted.frame.overlay.ops[0]), c.expected);
    EXPECT_EQ(painted.frame.overlay.ops[0].pen->style, PenStyle::kDotted);
    EXPECT_FALSE(painted.frame.overlay.ops[0].brush);
  }
}

TEST(SceneTest, TheHoverFrameIsThreePixelsOutsideTheBox) {
  const DrawList frame = HoverFrame({100, 100}, ViewAt(0), kStyle);
  ASSERT_EQ(frame.ops.size(), 1u);
  EXPECT_EQ(CornersOf(frame.ops[0]), (Rect{77, 77, 123, 123}));
  EXPECT_EQ(frame.ops[0].pen, (Pen{kHighlightColour, 3}));
  EXPECT_FALSE(frame.ops[0].brush);
  EXPECT_EQ(CornersOf(HoverFrame({160, 160}, ViewAt(3), kStyle).ops[0]), (Rect{18, 18, 22, 22}));
  EXPECT_TRUE(HoverFrame({100, 100}, ViewAt(4), kStyle).ops.empty());
}

TEST(SceneTest, ColoursComeFromTheStyleAndWidthsFromTheScale) {
  ViewStyle style;
  style.colours[kShiftRegisterKind] = Rgb(1, 2, 3);
  style.colours.erase(kCounterKind);  // a table without the key falls back to the default
  Module module;
  Place(module, kShiftRegisterKind, {100, 100});
  Place(module, kCounterKind, {200, 100});
  const int widths[] = {3, 2, 2, 1};
  for (int level = 0; level < 4; ++level) {
    const auto painted = Paint(module, ViewAt(level), nullptr, {}, style);
    const auto rectangles = OpsOf(painted.ops(), DrawShape::kRectangle, Rgb(1, 2, 3));
    ASSERT_EQ(rectangles.size(), 1u);
    EXPECT_EQ(rectangles[0].pen->width, widths[level]);
    EXPECT_EQ(OpsOf(painted.ops(), DrawShape::kEllipse, kStyle.Colour(kCounterKind)).size(), 1u);
  }
}

TEST(SceneTest, FarAwayPrimitivesAndArcsDoNotOverflow) {
  Module module;
  const int near = Place(module, kShiftRegisterKind, {100, 100});
  const int far = Place(module, kCounterKind, {INT_MAX, INT_MIN});
  module.AddArc(near, far, {{INT_MIN, INT_MAX}}, "far");
  const auto painted = Paint(module, ViewAt(0, {INT_MIN + 5, 0}));
  EXPECT_EQ(OpsOf(painted.ops(), DrawShape::kEllipse, kStyle.Colour(kCounterKind)).size(), 0u);
  EXPECT_EQ(OpsOf(painted.ops(), DrawShape::kLine, kArcPen).size(), 6u);
}

}  // namespace
}  // namespace pelkor
