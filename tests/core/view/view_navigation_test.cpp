// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/view_navigation.h"

#include <gtest/gtest.h>

namespace pelkor {
namespace {

ViewState Sized(int width, int height, Point baseOrigin = {}) {
  ViewState view;
  ResizeView(view, width, height);
  view.baseOrigin = baseOrigin;
  UpdateOrigin(view);
  return view;
}

TEST(ViewNavigationTest, ZoomStopsAtLevelsZeroAndFive) {
  ViewState view = Sized(400, 300);
  EXPECT_FALSE(ZoomIn(view));
  EXPECT_EQ(view.zoomLevel, 0);
  EXPECT_EQ(view.origin, (Point{0, 0}));
  for (int level = 1; level <= 5; ++level)
    EXPECT_TRUE(ZoomOut(view));
  const ViewState atFive = view;
  EXPECT_FALSE(ZoomOut(view));
  EXPECT_EQ(view.zoomLevel, 5);
  EXPECT_EQ(view.scale, 32);
  EXPECT_EQ(view.origin, atFive.origin);
}

TEST(ViewNavigationTest, ZoomKeepsTheLogicalCentreOfTheWindow) {
  ViewState view = Sized(401, 301, {1000, -500});
  const Point centrePixel{401 / 2, 301 / 2};
  const Point centre = view.viewport().ToLogical(centrePixel);
  ASSERT_TRUE(ZoomOut(view));
  // Level 0 -> 1 moves the origin by (-W / 2, -H / 2).
  EXPECT_EQ(view.origin, (Point{1000 - 200, -500 - 150}));
  for (int level = 2; level <= 5; ++level) {
    ASSERT_TRUE(ZoomOut(view));
    const Point now = view.viewport().ToLogical(centrePixel);
    EXPECT_NEAR(now.x, centre.x, view.scale) << level;
    EXPECT_NEAR(now.y, centre.y, view.scale) << level;
  }
  while (ZoomIn(view)) {
  }
  EXPECT_EQ(view.origin, view.baseOrigin);
}

TEST(ViewNavigationTest, WheelTowardTheUserZoomsIn) {
  ViewState view = Sized(200, 100);
  EXPECT_TRUE(ZoomByWheel(view, 120));
  EXPECT_EQ(view.zoomLevel, 1);
  EXPECT_TRUE(ZoomByWheel(view, -120));
  EXPECT_EQ(view.zoomLevel, 0);
  EXPECT_FALSE(ZoomByWheel(view, -120));
  EXPECT_FALSE(ZoomByWheel(view, 0));
  EXPECT_EQ(view.zoomLevel, 0);
}

TEST(ViewNavigationTest, ScrollRequestsMoveTheBaseOriginByTheScale) {
  struct Case {
    ScrollAxis axis;
    ScrollRequest request;
    Point expected;  // baseOrigin afterwards, from (100, 100) at scale 4
  };
  const Case cases[] = {
      {ScrollAxis::kVertical, ScrollRequest::kLineBack, {100, 60}},
      {ScrollAxis::kVertical, ScrollRequest::kLineForward, {100, 140}},
      {ScrollAxis::kVertical, ScrollRequest::kPageBack, {100, -20}},
      {ScrollAxis::kHorizontal, ScrollRequest::kPageForward, {220, 100}},
      {ScrollAxis::kHorizontal, ScrollRequest::kThumbTrack, {777, 100}},
      {ScrollAxis::kHorizontal, ScrollRequest::kThumbRelease, {100, 100}},
  };
  for (const Case& c : cases) {
    ViewState view = Sized(200, 100, {100, 100});
    view.zoomLevel = 2;
    UpdateOrigin(view);
    const bool changed = Scroll(view, c.axis, c.request, 777);
    EXPECT_EQ(view.baseOrigin, c.expected);
    EXPECT_EQ(changed, c.request != ScrollRequest::kThumbRelease);
    // The origin follows the base origin: at level 2 it lies 300 x 150 units further out.
    EXPECT_EQ(view.origin, (c.expected - Point{300, 150}));
  }
}

TEST(ViewNavigationTest, PanningRightShowsWhatLiesFurtherLeftAndGrowsTheExtent) {
  ViewState view = Sized(200, 100);
  EXPECT_EQ(view.scrollExtent, (Rect{0, 0, 200, 100}));
  view.zoomLevel = 1;
  UpdateOrigin(view);
  PanByPixels(view, {10, -5});
  EXPECT_EQ(view.baseOrigin, (Point{-20, 10}));
  EXPECT_EQ(view.origin, (Point{-120, -40}));
  // The far edges grow by the client size in pixels.
  EXPECT_EQ(view.scrollExtent, (Rect{-120, -40, 200, 100}));
  PanByPixels(view, {-200, -100});
  EXPECT_EQ(view.scrollExtent, (Rect{-120, -40, 480, 260}));
}

TEST(ViewNavigationTest, OnlyTheFirstResizeSetsTheExtent) {
  ViewState view;
  ResizeView(view, 300, 200);
  PanByPixels(view, {50, 0});
  ResizeView(view, 640, 480);
  EXPECT_EQ(view.scrollExtent, (Rect{-50, 0, 300, 200}));
  EXPECT_EQ(view.width, 640);
}

TEST(ViewNavigationTest, ScrollBarsCoverTheExtentWithAPageOfTheClientSize) {
  ViewState view = Sized(200, 100, {30, -40});
  view.zoomLevel = 1;
  UpdateOrigin(view);
  view.scrollExtent = {-500, -300, 1000, 700};
  EXPECT_EQ(HorizontalScrollBar(view), (ScrollBarState{-500, 1000, 400, 30}));
  EXPECT_EQ(VerticalScrollBar(view), (ScrollBarState{-300, 700, 200, -40}));
  EXPECT_EQ(HorizontalScrollBar(view).LastPosition(), 601);
  EXPECT_EQ((ScrollBarState{0, 100, 400, 0}).LastPosition(), 0);
}

}  // namespace
}  // namespace pelkor

namespace pelkor {
namespace {

// Each habit of the wheel: which way it zooms, or how it scrolls; zooming keeps the logical
// point under the pointer where it was, to within a pixel of the coarser scale.
TEST(ViewNavigationTest, TheWheelZoomsAboutThePointerOrScrollsAsTheHabitSays) {
  struct Case {
    const char* what;
    WheelHabit habit;
    WheelTurn turn;
    int zoomChange;    // levels
    Point scrolledBy;  // pixels the picture moved, when it did not zoom
  };
  const Point pointer{300, 40};
  const Case cases[] = {
      {"toward the user zooms in", WheelHabit::kZoom, {-120, pointer}, -1, {}},
      {"away zooms out", WheelHabit::kZoom, {120, pointer}, 1, {}},
      {"reversed: away zooms in", WheelHabit::kZoomReversed, {120, pointer}, -1, {}},
      {"reversed: toward zooms out", WheelHabit::kZoomReversed, {-120, pointer}, 1, {}},
      {"Ctrl changes nothing when zooming", WheelHabit::kZoom, {120, pointer, true}, 1, {}},
      {"scrolls up", WheelHabit::kScroll, {120, pointer}, 0, {0, 40}},
      {"scrolls down", WheelHabit::kScroll, {-240, pointer}, 0, {0, -80}},
      {"Shift scrolls sideways", WheelHabit::kScroll, {120, pointer, false, true}, 0, {40, 0}},
      {"Ctrl zooms in rolling away", WheelHabit::kScroll, {120, pointer, true}, -1, {}},
      {"Ctrl zooms out rolling toward", WheelHabit::kScroll, {-120, pointer, true}, 1, {}},
  };
  for (const Case& c : cases) {
    ViewState view = Sized(640, 480, {4000, -2000});
    ZoomOut(view);
    ZoomOut(view);
    const ViewState before = view;
    const Point held = view.viewport().ToLogical(c.turn.pointer);
    EXPECT_TRUE(TurnWheel(view, c.habit, c.turn)) << c.what;
    EXPECT_EQ(view.zoomLevel, before.zoomLevel + c.zoomChange) << c.what;
    if (c.zoomChange != 0) {
      const Point now = view.viewport().ToLogical(c.turn.pointer);
      EXPECT_NEAR(now.x, held.x, std::max(view.scale, before.scale)) << c.what;
      EXPECT_NEAR(now.y, held.y, std::max(view.scale, before.scale)) << c.what;
    } else {
      EXPECT_EQ(view.origin.x, before.origin.x - c.scrolledBy.x * view.scale) << c.what;
      EXPECT_EQ(view.origin.y, before.origin.y - c.scrolledBy.y * view.scale) << c.what;
    }
  }
  ViewState view = Sized(640, 480);
  EXPECT_FALSE(TurnWheel(view, WheelHabit::kZoom, {-120, pointer})) << "already closest";
  EXPECT_FALSE(TurnWheel(view, WheelHabit::kScroll, {0, pointer})) << "no turn";
}

}  // namespace
}  // namespace pelkor
