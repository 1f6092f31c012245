// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/picture_view.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/records.h"

namespace pelkor {
namespace {

using testing::At;

TEST(PictureViewTest, ThePictureTakesInEveryPrimitiveAndBendWithRoomAround) {
  Module module;
  const int a = module.AddShiftRegister(At<ShiftRegister>({100, -50}));
  const int b = module.AddSink(At<SinkTransition>({500, 300}));
  module.AddArc(a, b, {{-200, 100}}, "");
  struct Case {
    int zoomLevel;
    Point origin;
    int width;
    int height;
  };
  // 90 pixels of room at scale 1, 50 at scale 2, 12 at scale 32.
  const Case cases[] = {
      {0, {-290, -140}, 700 + 181, 350 + 181},
      {1, {-300, -150}, 350 + 101, 175 + 101},
      {5, {-200 - 12 * 32, -50 - 12 * 32}, 21 + 25, 10 + 25},
  };
  for (const Case& c : cases) {
    const ViewState view = PictureView(module, c.zoomLevel);
    EXPECT_EQ(view.scale, 1 << c.zoomLevel);
    EXPECT_EQ(view.origin, c.origin);
    EXPECT_EQ(view.width, c.width);
    EXPECT_EQ(view.height, c.height);
    EXPECT_FALSE(PictureIsCut(module, c.zoomLevel));
  }
}

TEST(PictureViewTest, AnEmptyModuleGivesAPictureOfTheRoomAlone) {
  const ViewState view = PictureView(Module(), 0);
  EXPECT_EQ(view.origin, (Point{-90, -90}));
  EXPECT_EQ(view.width, 181);
  EXPECT_EQ(view.height, 181);
}

TEST(PictureViewTest, AHugeDesignIsCutInsteadOfOverflowing) {
  Module module;
  module.AddCounter(At<Counter>({INT_MIN, INT_MIN}));
  module.AddCounter(At<Counter>({INT_MAX, 0}));
  EXPECT_TRUE(PictureIsCut(module, 0));
  const ViewState view = PictureView(module, 0);
  EXPECT_EQ(view.width, kMaxPictureSide);
  EXPECT_EQ(view.height, kMaxPictureSide);
  EXPECT_EQ(view.origin, (Point{INT_MIN, INT_MIN}));
  EXPECT_FALSE(PictureIsCut(Module(), 5));
}

}  // namespace
}  // namespace pelkor
