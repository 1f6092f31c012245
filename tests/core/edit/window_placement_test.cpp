// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/window_placement.h"

#include <gtest/gtest.h>

namespace pelkor {
namespace {

TEST(WindowPlacementTest, AWindowIsShrunkAndMovedIntoTheScreenAndOnlyAsFarAsNeeded) {
  const Rect screen{0, 0, 1400, 900};
  struct Case {
    const char* what;
    Rect frame;
    Rect available;
    Rect fitted;
  };
  const Case cases[] = {
      {"fits already", {100, 50, 1124, 770}, screen, {100, 50, 1124, 770}},
      // 1024x720 at a scale of 1.5, placed at the top-left corner.
      {"too large both ways", {0, 0, 1536, 1080}, screen, {0, 0, 1400, 900}},
      {"too tall only", {200, 0, 1000, 1000}, screen, {200, 0, 1000, 900}},
      {"hangs off the bottom-right", {800, 600, 1400, 1000}, screen, {800, 500, 1400, 900}},
      {"hangs off the top-left", {-300, -40, 500, 460}, screen, {0, 0, 800, 500}},
      {"saved on a screen to the right", {2000, 100, 2800, 700}, screen, {600, 100, 1400, 700}},
      {"screen with a panel at the top",
       {0, 0, 1536, 1080},
       {0, 32, 1400, 900},
       {0, 32, 1400, 900}},
      {"second screen", {2000, 100, 2600, 500}, {1400, 0, 3320, 1080}, {2000, 100, 2600, 500}},
      {"no screen known", {10, 10, 50, 50}, {0, 0, 0, 0}, {10, 10, 50, 50}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FitWindowIntoScreen(c.frame, c.available), c.fitted) << c.what;
}

}  // namespace
}  // namespace pelkor
