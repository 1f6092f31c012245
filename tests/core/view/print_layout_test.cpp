#include "view/print_layout.h"

#include <gtest/gtest.h>

namespace pelkor {
namespace {

TEST(PrintLayoutTest, PicturesAreScaledAndCutIntoPagesInReadingOrder) {
  struct Case {
    const char* what;
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
      {"wide picture on one page: the width limits",
       1000,
       100,
       {500, 800, 40, 4, 0},
       kOne,
       1,
       0.5,
       1,
       1,
       0},
      {"tall picture on one page: the height below the header limits, centred across",
       100,
       1000,
       {800, 540, 40, 4, 0},
       kOne,
       1,
       0.5,
       1,
       1,
       375},
      {"small picture: enlarged no more than full size",
       10,
       10,
       {800, 800, 0, 3, 0},
       kOne,
       1,
       3,
       1,
       1,
       385},
      {"a header taller than the page leaves nothing for the picture",
       10,
       10,
       {100, 50, 80, 3, 0},
       kOne,
       1,
       0,
       1,
       1,
       0},
      {"an empty picture is not scaled", 0, 0, {100, 100, 10, 3, 0}, kFull, 1, 0, 1, 1, 0},
      {"full size across four pages, each repeating 20 of the one before",
       1000,
       100,
       {300, 400, 40, 1, 20},
       kFull,
       1,
       1,
       1,
       4,
       0},
      {"full size across and down", 1000, 1000, {300, 400, 40, 1, 20}, kFull, 1, 1, 3, 4, 0},
      {"full size that fits one page is centred",
       100,
       100,
       {300, 400, 40, 2, 20},
       kFull,
       1,
       2,
       1,
       1,
       50},
      {"two pages wide", 1000, 100, {300, 400, 40, 4, 20}, kWide, 2, 0.58, 1, 2, 0},
      {"pages wide never enlarges beyond full size",
       100,
       100,
       {300, 400, 40, 1, 20},
       kWide,
       3,
       1,
       1,
       1,
       100},
      {"a picture filling two pages exactly takes two",
       580,
       100,
       {300, 400, 40, 1, 20},
       kWide,
       2,
       1,
       1,
       2,
       0},
      {"no more than the page limit across: shrunk instead",
       100000,
       10,
       {100, 400, 40, 1, 0},
       kFull,
       1,
       0.1,
       1,
       kMaxPrintPagesPerSide,
       0},
      {"an overlap of more than half a page is cut to half",
       1000,
       100,
       {300, 400, 40, 1, 500},
       kFull,
       1,
       1,
       1,
       6,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PrintPlan plan =
        PlanPrint(c.width, c.height, c.paper, {.fit = c.fit, .pagesWide = c.pagesWide});
    EXPECT_DOUBLE_EQ(plan.scale, c.expectedScale);
    EXPECT_EQ(plan.rows, c.rows);
    EXPECT_EQ(plan.columns, c.columns);
    ASSERT_EQ(plan.pages.size(), static_cast<std::size_t>(c.rows * c.columns));
    if (plan.scale == 0)
      continue;
    const double overlap = std::min(
        c.paper.overlap, std::min(c.paper.width, c.paper.height - c.paper.headerHeight) / 2);
    for (std::size_t i = 0; i < plan.pages.size(); ++i) {
      const PrintPage& page = plan.pages[i];
      SCOPED_TRACE(testing::Message() << "page " << i);
      EXPECT_EQ(page.row, static_cast<int>(i) / c.columns);
      EXPECT_EQ(page.column, static_cast<int>(i) % c.columns);
      EXPECT_DOUBLE_EQ(page.left, c.left);
      EXPECT_DOUBLE_EQ(page.top, c.paper.headerHeight);
      EXPECT_LE(page.left + page.sourceWidth * plan.scale, c.paper.width + 1e-9);
      EXPECT_LE(page.top + page.sourceHeight * plan.scale, c.paper.height + 1e-9);
      // Each page starts where the one to its left (or above) ends, less the overlap.
      if (page.column == 0) {
        EXPECT_DOUBLE_EQ(page.sourceLeft, 0);
      } else {
        const PrintPage& before = plan.pages[i - 1];
        EXPECT_NEAR(page.sourceLeft, before.sourceLeft + before.sourceWidth - overlap / plan.scale,
                    1e-9);
      }
      if (page.row == 0) {
        EXPECT_DOUBLE_EQ(page.sourceTop, 0);
      } else {
        const PrintPage& above = plan.pages[i - c.columns];
        EXPECT_NEAR(page.sourceTop, above.sourceTop + above.sourceHeight - overlap / plan.scale,
                    1e-9);
      }
      // The last page of a row or column reaches the picture's edge.
      if (page.column == c.columns - 1) {
        EXPECT_NEAR(page.sourceLeft + page.sourceWidth, c.width, 1e-9);
      }
      if (page.row == c.rows - 1) {
        EXPECT_NEAR(page.sourceTop + page.sourceHeight, c.height, 1e-9);
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
