// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/print_layout.h"

#include <gtest/gtest.h>

namespace pelkor {
namespace {

TEST(PrintLayoutTest, PicturesAreScaledAndCutIntoPagesInReadingOrder) {
  struct Case {
    int width, height;
    PrintPaper paper;  // width, height, header, full scale, overlap
    PrintFit fit;
    int pagesWide;
    double expectedScale;
    int rows, columns;
    double left;  // of every page
  };
  constexpr PrintFit kOne = PrintFit::kOnePage;
  constexpr PrintFit kWide = PrintFit::kPagesWide;
  constexpr PrintFit kFull = PrintFit::kFullSize;
  const Case cases[] = {
      // 0: a wide picture on one page: the width limits.
      {1000, 100, {500, 800, 40, 4, 0}, kOne, 1, 0.5, 1, 1, 0},
      // 1: a tall picture on one page: the height below the header limits; centred across.
      {100, 1000, {800, 540, 40, 4, 0}, kOne, 1, 0.5, 1, 1, 375},
      // 2: a small picture is enlarged no more than full size.
      {10, 10, {800, 800, 0, 3, 0}, kOne, 1, 3, 1, 1, 385},
      // 3: a header taller than the page leaves nothing for the picture.
      {10, 10, {100, 50, 80, 3, 0}, kOne, 1, 0, 1, 1, 0},
      // 4: an empty picture is not scaled.
      {0, 0, {100, 100, 10, 3, 0}, kFull, 1, 0, 1, 1, 0},
      // 5: full size across four pages, each repeating 20 of the one before.
      {1000, 100, {300, 400, 40, 1, 20}, kFull, 1, 1, 1, 4, 0},
      // 6: full size across and down.
      {1000, 1000, {300, 400, 40, 1, 20}, kFull, 1, 1, 3, 4, 0},
      // 7: full size that fits one page is centred.
      {100, 100, {300, 400, 40, 2, 20}, kFull, 1, 2, 1, 1, 50},
      // 8: two pages wide.
      {1000, 100, {300, 400, 40, 4, 20}, kWide, 2, 0.58, 1, 2, 0},
      // 9: pages wide never enlarges beyond full size.
      {100, 100, {300, 400, 40, 1, 20}, kWide, 3, 1, 1, 1, 100},
      // 10: a picture that fills two pages exactly takes two.
      {580, 100, {300, 400, 40, 1, 20}, kWide, 2, 1, 1, 2, 0},
      // 11: no more pages across than the limit: the picture is shrunk instead.
      {100000, 10, {100, 400, 40, 1, 0}, kFull, 1, 0.1, 1, kMaxPrintPagesPerSide, 0},
      // 12: an overlap of more than half a page is cut to half.
      {1000, 100, {300, 400, 40, 1, 500}, kFull, 1, 1, 1, 6, 0},
  };
  for (std::size_t n = 0; n < std::size(cases); ++n) {
    const Case& c = cases[n];
    SCOPED_TRACE(testing::Message() << "case " << n);
    const PrintPlan plan =
        PlanPrint(c.width, c.height, c.paper, {.fit = c.fit, .pagesWide = c.pagesWide});
    EXPECT_DOUBLE_EQ(plan.scale, c.expectedScale);
    EXPECT_EQ(plan.rows, c.rows);
    EXPECT_EQ(plan.columns, c.columns);
    ASSERT_EQ(plan.pages.size(), static_cast<std::size_t>(c.rows * c.columns));
    if (plan.scale == 0)
      continue;
    const double roomHeight = c.paper.height - c.paper.headerHeight;
    const double overlap = std::min(c.paper.overlap, std::min(c.paper.width, roomHeight) / 2);
    for (std::size_t i = 0; i < plan.pages.size(); ++i) {
      const PrintPage& page = plan.pages[i];
      SCOPED_TRACE(testing::Message() << "page " << i);
      EXPECT_EQ(page.row, static_cast<int>(i) / c.columns);
      EXPECT_EQ(page.column, static_cast<int>(i) % c.columns);
      EXPECT_DOUBLE_EQ(page.left, c.left);
      EXPECT_DOUBLE_EQ(page.top, c.paper.headerHeight);
      EXPECT_LE(page.left + page.sourceWidth * plan.scale, c.paper.width + 1e-9);
      EXPECT_LE(page.top + page.sourceHeight * plan.scale, c.paper.height + 1e-9);
      // Across and down alike: a page starts where the one before it ends, less the overlap,
      // and the last one reaches the picture's edge.
      const struct {
        int index, count, step;
        double PrintPage::*start;
        double PrintPage::*length;
        int pictureLength;
      } axes[] = {
          {page.column, c.columns, 1, &PrintPage::sourceLeft, &PrintPage::sourceWidth, c.width},
          {page.row, c.rows, c.columns, &PrintPage::sourceTop, &PrintPage::sourceHeight, c.height}};
      for (const auto& axis : axes) {
        const double start = page.*axis.start;
        if (axis.index == 0) {
          EXPECT_DOUBLE_EQ(start, 0);
        } else {
          const PrintPage& before = plan.pages[i - axis.step];
          EXPECT_NEAR(start, before.*axis.start + before.*axis.length - overlap / plan.scale, 1e-9);
        }
        if (axis.index == axis.count - 1) {
          EXPECT_NEAR(start + page.*axis.length, axis.pictureLength, 1e-9);
        }
      }
    }
  }
}

TEST(PrintLayoutTest, PageTitlesNameTheRowAndColumnOfPrintoutsOfSeveralPages) {
  const PrintPaper paper{300, 400, 40, 1, 20};
  const PrintScale fullSize{.fit = PrintFit::kFullSize};
  const PrintPlan one = PlanPrint(100, 100, paper, fullSize);
  EXPECT_EQ(PrintPageTitle("adder", one, one.pages.at(0)), "adder");
  const PrintPlan several = PlanPrint(1000, 1000, paper, fullSize);
  EXPECT_EQ(PrintPageTitle("adder", several, several.pages.at(0)), "adder  1-1");
  EXPECT_EQ(PrintPageTitle("adder", several, several.pages.at(6)), "adder  2-3");
}

}  // namespace
}  // namespace pelkor
