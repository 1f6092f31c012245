#include "view/arrow_geometry.h"

#include <gtest/gtest.h>

namespace pelkor {
namespace {

// Wings 5 pixels long at 30 degrees: 5 cos 30 = 4.33 back along the line, 5 sin 30 = 2.5 to
// each side, truncated toward zero.
TEST(ArrowGeometryTest, WingsPointBackAlongTheLineInEveryDirection) {
  struct Case {
    Point p, t, wing1, wing2;
  };
  for (const Case c : {
           Case{{0, 0}, {100, 0}, {95, -2}, {95, 2}},  // right
           Case{{100, 0}, {0, 0}, {4, 2}, {4, -2}},    // left
           Case{{0, 0}, {0, 100}, {-2, 95}, {2, 95}},  // down
           Case{{0, 100}, {0, 0}, {-2, 4}, {2, 4}},    // up
           Case{{5, 5}, {5, 5}, {2, 9}, {7, 9}},       // a point: as a line going up
       }) {
    const ArrowSegment arrow = MakeArrowSegment(c.p, c.t, 5);
    EXPECT_EQ(arrow, (ArrowSegment{c.p, c.t, c.wing1, c.wing2}))
        << c.p.x << "," << c.p.y << " -> " << c.t.x << "," << c.t.y;
  }
}

TEST(ArrowGeometryTest, PointBeforeStopsShortTowardTheStart) {
  EXPECT_EQ(PointBefore({0, 0}, {100, 0}, 27), (Point{73, 0}));
  EXPECT_EQ(PointBefore({0, 0}, {0, 100}, 27), (Point{0, 73}));
  EXPECT_EQ(PointBefore({0, 100}, {0, 0}, 27), (Point{0, 27}));
  EXPECT_EQ(PointBefore({0, 0}, {100, 100}, 27), (Point{80, 80}));  // 100 - 19.09
  EXPECT_EQ(PointBefore({100, 100}, {0, 0}, 27), (Point{19, 19}));
  EXPECT_EQ(PointBefore({5, 5}, {5, 5}, 27), (Point{5, 32}));
}

}  // namespace
}  // namespace pelkor
