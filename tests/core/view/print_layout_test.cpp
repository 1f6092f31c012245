// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/print_layout.h"

#include <gtest/gtest.h>

namespace pelkor {
namespace {

TEST(PrintLayoutTest, PictureFitsBelowTheHeaderCentredAcross) {
  struct Case {
    int width, height;
    double pageWidth, pageHeight, header, maxScale;
    double scale, left, top;
  };
  const Case cases[] = {
      // Wide picture: the width limits; centred leaves no room at the sides.
      {1000, 100, 500, 800, 40, 4, 0.5, 0, 40},
      // Tall picture: the height below the header limits, centred across.
      {100, 1000, 800, 540, 40, 4, 0.5, 375, 40},
      // Small picture: enlarged no more than maxScale.
      {10, 10, 800, 800, 0, 3, 3, 385, 0},
      // A header taller than the page leaves nothing for the picture.
      {10, 10, 100, 50, 80, 3, 0, 50, 50},
      // An empty picture is not scaled.
      {0, 0, 100, 100, 10, 3, 0, 0, 10},
  };
  for (const Case& c : cases) {
    const PrintLayout layout =
        FitPictureOnPage(c.width, c.height, c.pageWidth, c.pageHeight, c.header, c.maxScale);
    SCOPED_TRACE(testing::Message()
                 << c.width << "x" << c.height << " on " << c.pageWidth << "x" << c.pageHeight);
    EXPECT_DOUBLE_EQ(layout.scale, c.scale);
    EXPECT_DOUBLE_EQ(layout.left, c.left);
    EXPECT_DOUBLE_EQ(layout.top, c.top);
    EXPECT_LE(layout.left + c.width * layout.scale, c.pageWidth);
    EXPECT_LE(layout.top + c.height * layout.scale, c.pageHeight);
  }
}

}  // namespace
}  // namespace pelkor
