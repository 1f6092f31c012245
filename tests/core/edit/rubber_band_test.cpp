// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "../support/records.h"
#include "edit/interaction_state.h"

namespace pelkor {
namespace {

using testing::At;

TEST(RubberBandTest, ConvertsWithTheGivenViewAndExcludesRightAndBottomEdges) {
  Module m;
  // With origin (-100, 40) and scale 2, a position p is at pixel ((p.x + 100) / 2, (p.y - 40) / 2).
  const int inside = m.AddShiftRegister(At<ShiftRegister>({-80, 60}));  // pixel (10, 10)
  const int topLeft = m.AddSink(At<SinkTransition>({-100, 40}));        // pixel (0, 0)
  m.AddSource(At<SourceTransition>({0, 60}));                           // pixel (50, 10)
  const int truncated = m.AddCounter(At<Counter>({-1, 139}));           // pixel (49, 49)
  m.AddInstance(At<ModuleInstance>({-80, 140}));                        // pixel (10, 50)

  EXPECT_EQ(SelectInRectangle(m, Viewport{{-100, 40}, 2}, {0, 0, 50, 50}), 3u);
  EXPECT_EQ(m.selection.selectedIds, (std::set<int>{inside, topLeft, truncated}));
  EXPECT_EQ(m.selection.bounds, (Rect{-100, 40, -1, 139}));
}

}  // namespace
}  // namespace pelkor
