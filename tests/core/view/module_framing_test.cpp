// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/module_framing.h"

#include <gtest/gtest.h>

#include "view/view_navigation.h"

namespace pelkor {
namespace {

ViewState Scrolled(int width, int height) {
  ViewState view;
  ResizeView(view, width, height);
  view.baseOrigin = {-7777, 12345};
  view.zoomLevel = 3;
  UpdateOrigin(view);
  return view;
}

// Objects spread over a field of `width` x `height` logical units from `corner`.
Module Spread(Point corner, int width, int height) {
  Module module;
  module.AddSource({}, corner);
  module.AddShiftRegister({}, {corner.x + width, corner.y + height / 2});
  module.AddSink({}, {corner.x + width / 2, corner.y + height});
  return module;
}

std::vector<Point> Positions(const Module& module) {
  std::vector<Point> positions;
  for (const auto& [id, source] : module.sources)
    positions.push_back(source.position);
  for (const auto& [id, reg] : module.shiftRegisters)
    positions.push_back(reg.position);
  for (const auto& [id, sink] : module.sinks)
    positions.push_back(sink.position);
  return positions;
}

bool AllInSight(const ViewState& view, const Module& module) {
  for (const Point p : Positions(module)) {
    const Point pixel = view.viewport().ToScreen(p);
    if (pixel.x < 0 || pixel.y < 0 || pixel.x >= view.width || pixel.y >= view.height)
      return false;
  }
  return true;
}

TEST(ModuleFramingTest, FitTakesTheClosestLevelAtWhichEveryObjectShowsCentred) {
  struct Case {
    const char* what;
    Module module;
    int level;
  };
  const Case cases[] = {
      {"small, far from the origin", Spread({5000, -3000}, 200, 120), 0},
      {"wider than the client", Spread({-400, 100}, 1000, 200), 1},
      {"tall", Spread({0, 0}, 100, 3000), 3},
      {"larger than level 5 shows", Spread({0, 0}, 100000, 100), 5},
  };
  for (const Case& c : cases) {
    ViewState view = Scrolled(640, 480);
    ZoomToFit(view, c.module);
    EXPECT_EQ(view.zoomLevel, c.level) << c.what;
    if (c.level == kMaxZoomLevel) {
      EXPECT_EQ(view.viewport().ToScreen(Positions(c.module)[0]).x, 80 / 32 + 10) << c.what;
      continue;
    }
    EXPECT_TRUE(AllInSight(view, c.module)) << c.what;
    // Centred: as much room left of the objects as right of them, to a box and a pixel.
    const Point left = view.viewport().ToScreen(Positions(c.module)[0]);
    const Point right = view.viewport().ToScreen(Positions(c.module)[1]);
    EXPECT_NEAR(left.x, view.width - right.x, kObjectSize / view.scale + 1) << c.what;
  }
}

TEST(ModuleFramingTest, AModuleStartsAtTheTopLeftOfItsObjectsOnTheGrid) {
  const Module module = Spread({5030, -2990}, 200, 120);
  ViewState view = Scrolled(640, 480);
  ShowModuleStart(view, module);
  EXPECT_EQ(view.zoomLevel, 3);  // the zoom stays
  EXPECT_EQ(view.origin.x % kObjectSize, 0);
  EXPECT_EQ(view.origin.y % kObjectSize, 0);
  EXPECT_TRUE(AllInSight(view, module));
  const Point first = view.viewport().ToScreen({5030, -2990});
  EXPECT_LT(first.x, 200 / view.scale);
  EXPECT_LT(first.y, 200 / view.scale);
}

TEST(ModuleFramingTest, AModuleWithoutObjectsShowsTheOrigin) {
  ViewState view = Scrolled(640, 480);
  ShowModuleStart(view, Module{});
  EXPECT_EQ(view.origin, (Point{0, 0}));
  EXPECT_EQ(view.zoomLevel, 3);
  ZoomToFit(view, Module{});
  EXPECT_EQ(view.origin, (Point{0, 0}));
  EXPECT_EQ(view.zoomLevel, 0);
}

TEST(BringIntoViewTest, AnObjectInSightStaysAndAnotherIsCentred) {
  const struct {
    int zoomLevel;
    Point position;
    Point origin;  // 400 x 300 pixels from (0, 0) before
  } cases[] = {{0, {100, 100}, {0, 0}},      {0, {20, 280}, {0, 0}},
               {0, {19, 100}, {-181, -50}},  {0, {100, 281}, {-100, 131}},
               {0, {1000, 100}, {800, -50}}, {1, {700, 500}, {0, 0}},
               {1, {790, 100}, {390, -200}}};
  for (const auto& c : cases) {
    ViewState view;
    ResizeView(view, 400, 300);
    view.zoomLevel = c.zoomLevel;
    UpdateOrigin(view);
    MoveOriginTo(view, {0, 0});
    BringIntoView(view, c.position);
    EXPECT_EQ(view.origin, c.origin) << c.position.x << "," << c.position.y;
  }
}

}  // namespace
}  // namespace pelkor
