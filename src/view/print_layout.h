// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace pelkor {

// How a picture is scaled onto paper.
enum class PrintFit {
  kOnePage,    // shrunk to fit one page, never enlarged beyond full size
  kPagesWide,  // shrunk to fit a number of pages across, never enlarged beyond full size
  kFullSize,   // at full size, on as many pages as it needs
};

// What a module is printed at. The picture is drawn at the view's zoom level `zoomLevel`
// (0 full size, 1 half, ... as the view's zoom steps) when it is printed at full size, and at
// full detail when it is fitted to pages.
struct PrintScale {
  PrintFit fit = PrintFit::kOnePage;
  int pagesWide = 2;  // with PrintFit::kPagesWide
  int zoomLevel = 0;  // with PrintFit::kFullSize

  bool operator==(const PrintScale&) const = default;
};

// The paper a picture is laid out on, in the page's device units.
struct PrintPaper {
  double width = 0;  // the printable area
  double height = 0;
  double headerHeight = 0;  // the band at the top of each page for the header line
  double fullScale = 1;     // device units per picture pixel at full size
  double overlap = 0;       // how much of the picture each page repeats from the page before
};

// One page of a printout: the part of the picture it shows and where that part goes.
struct PrintPage {
  int row = 0;     // from 0, top to bottom
  int column = 0;  // from 0, left to right
  // The part of the picture, in picture pixels.
  double sourceLeft = 0;
  double sourceTop = 0;
  double sourceWidth = 0;
  double sourceHeight = 0;
  // Where the part's top-left corner goes on the page.
  double left = 0;
  double top = 0;
};

struct PrintPlan {
  double headerHeight = 0;  // the band the header text is drawn in, from the page's top
  double scale = 0;         // device units per picture pixel; 0 when nothing can be shown
  int rows = 1;
  int columns = 1;
  std::vector<PrintPage> pages;  // in reading order: row by row, each from left to right
};

// No printout runs to more pages than this across or down: the picture is shrunk instead.
inline constexpr int kMaxPrintPagesPerSide = 100;

// Lays a picture out below the header band of each page. A picture that fits one page is
// centred across it; a larger one is cut into pages with `overlap` repeated at each join, so
// the sheets can be laid over each other.
PrintPlan PlanPrint(int pictureWidth, int pictureHeight, const PrintPaper& paper,
                    const PrintScale& scale);

// The header line of a page: the module's name, and on a printout of several pages the page's
// row and column from 1 ("adder 2-3").
std::string PrintPageTitle(const std::string& moduleName, const PrintPlan& plan,
                           const PrintPage& page);

}  // namespace pelkor
