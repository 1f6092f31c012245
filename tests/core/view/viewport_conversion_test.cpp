// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/viewport.h"

#include <climits>

#include <gtest/gtest.h>

namespace pelkor {
namespace {

TEST(ViewportConversionTest, ToScreenTruncatesTowardZero) {
  const Viewport view{{-100, 40}, 4};
  EXPECT_EQ(view.ToScreen({-100, 40}), (Point{0, 0}));
  EXPECT_EQ(view.ToScreen({-97, 47}), (Point{0, 1}));
  // -3 / 4 and -5 / 4 truncate to 0 and -1, not down to -1 and -2.
  EXPECT_EQ(view.ToScreen({-103, 35}), (Point{0, -1}));
}

TEST(ViewportConversionTest, ToLogicalInvertsToScreenOnWholePixels) {
  const Viewport view{{-100, 40}, 8};
  EXPECT_EQ(view.ToLogical({3, -2}), (Point{-76, 24}));
  EXPECT_EQ(view.ToScreen(view.ToLogical({3, -2})), (Point{3, -2}));
}

TEST(ViewportConversionTest, ConversionsStopAtTheEndsOfTheRange) {
  const Viewport view{{INT_MIN, INT_MAX}, 32};
  // (2^32 - 1) / 32 either way, which an int subtraction would have wrapped.
  EXPECT_EQ(view.ToScreen({INT_MAX, INT_MIN}), (Point{134217727, -134217727}));
  EXPECT_EQ((Viewport{{INT_MAX, INT_MIN}, 32}).ToLogical({100, -100}), (Point{INT_MAX, INT_MIN}));
  EXPECT_EQ((Viewport{{-INT_MAX, 0}, 1}).ToScreen({INT_MAX, 0}), (Point{INT_MAX, 0}));
}

TEST(ViewportConversionTest, SnapToCellMovesAwayFromZeroOnBothSides) {
  EXPECT_EQ(SnapToCell({37, -5}, 20), (Point{30, -10}));
  EXPECT_EQ(SnapToCell({0, 19}, 20), (Point{10, 10}));
  EXPECT_EQ(SnapToCell({-37, -20}, 20), (Point{-30, -30}));
  EXPECT_EQ(SnapToCell({41, -41}, 40), (Point{60, -60}));
  EXPECT_EQ(SnapToCell({41, -41}, 0), (Point{41, -41}));
}

}  // namespace
}  // namespace pelkor
