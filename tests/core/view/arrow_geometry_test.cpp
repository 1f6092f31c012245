// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/arrow_geometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace pelkor {
namespace {

TEST(ArrowGeometryTest, WingsAndCutPointsFollowTheLinesAngle) {
  struct Case {
    Point p;
    Point t;
    ArrowWings wings;  // strokes of 10
    Point before;      // 27 short of t
  };
  // The angles use pi as 3.141592, so a line toward the left or straight down ends a hair off
  // its axis, and truncation can show it.
  const Case cases[] = {
      {{100, 100}, {273, 100}, {{264, 95}, {264, 104}}, {246, 100}},
      {{300, 100}, {100, 100}, {{108, 104}, {108, 94}}, {126, 99}},
      {{100, 100}, {100, 200}, {{95, 191}, {104, 191}}, {100, 173}},
      {{100, 200}, {100, 100}, {{95, 108}, {104, 108}}, {100, 127}},
      {{100, 100}, {100, 100}, {{95, 108}, {104, 108}}, {100, 127}},
      {{0, 0}, {30, 40}, {{28, 30}, {20, 36}}, {13, 18}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.p.x << "," << c.p.y << " -> " << c.t.x << "," << c.t.y);
    EXPECT_EQ(ArrowWingsAt(c.p, c.t, 10), c.wings);
    EXPECT_EQ(PointBefore(c.p, c.t, 27), c.before);
  }
}

TEST(ArrowGeometryTest, StrokesShortenWithTheZoomLevel) {
  const int lengths[] = {10, 5, 3, 2, 2, 1};
  for (int level = 0; level <= 5; ++level)
    EXPECT_EQ(ArrowStrokeLength(level), lengths[level]);
}

TEST(ArrowGeometryTest, PointsBeyondTheIntRangeStopAtItsEnds) {
  EXPECT_EQ(PointBefore({INT_MAX, 0}, {INT_MIN, 0}, 27), (Point{INT_MIN + 27, 0}));
  EXPECT_EQ(PointBefore({0, INT_MIN}, {0, INT_MIN}, 27), (Point{0, INT_MIN + 27}));
  EXPECT_EQ(ArrowWingsAt({0, 0}, {INT_MAX, 0}, 10).first.x, INT_MAX - 9);
  // A zero-length piece points its head down, past the end of the range here.
  EXPECT_EQ(ArrowWingsAt({0, INT_MAX}, {0, INT_MAX}, 10).first.y, INT_MAX);
  EXPECT_EQ(PointBefore({0, INT_MAX}, {0, INT_MAX}, 27), (Point{0, INT_MAX}));
}

}  // namespace
}  // namespace pelkor
