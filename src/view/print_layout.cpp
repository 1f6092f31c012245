// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/print_layout.h"

#include <algorithm>
#include <cmath>

namespace pelkor {

namespace {

// Rounding in the divisions below must not add a page for a picture that fills its pages
// exactly.
constexpr double kSlack = 1e-9;

// The largest scale at which `size` picture pixels fit `pages` pages of `room` each, every page
// after the first repeating `overlap` of the one before.
double ScaleForPages(int size, double room, double overlap, int pages) {
  return (pages * room - (pages - 1) * overlap) / size;
}

// How many pages of `room` a scaled length of `length` needs.
int PagesFor(double length, double room, double overlap) {
  if (length <= room * (1 + kSlack))
    return 1;
  return static_cast<int>(std::ceil((length - overlap) / (room - overlap) - kSlack));
}

}  // namespace

PrintPlan PlanPrint(int pictureWidth, int pictureHeight, const PrintPaper& paper,
                    const PrintScale& scale) {
  PrintPlan plan;
  plan.headerHeight = std::clamp(paper.headerHeight, 0.0, std::max(paper.height, 0.0));
  const double roomWidth = std::max(paper.width, 0.0);
  const double roomHeight = std::max(paper.height - plan.headerHeight, 0.0);
  if (pictureWidth <= 0 || pictureHeight <= 0 || roomWidth <= 0 || roomHeight <= 0) {
    plan.pages.push_back({.top = plan.headerHeight});
    return plan;
  }
  // Less than half a page, so that every page shows something new.
  const double overlap = std::clamp(paper.overlap, 0.0, std::min(roomWidth, roomHeight) / 2);
  const double fullScale = std::max(paper.fullScale, 0.0);
  switch (scale.fit) {
    case PrintFit::kOnePage:
      plan.scale = std::min({roomWidth / pictureWidth, roomHeight / pictureHeight, fullScale});
      break;
    case PrintFit::kPagesWide:
      plan.scale = std::min(
          ScaleForPages(pictureWidth, roomWidth, overlap, std::max(scale.pagesWide, 1)), fullScale);
      break;
    case PrintFit::kFullSize:
      plan.scale = fullScale;
      break;
  }
  plan.scale =
      std::min({plan.scale, ScaleForPages(pictureWidth, roomWidth, overlap, kMaxPrintPagesPerSide),
                ScaleForPages(pictureHeight, roomHeight, overlap, kMaxPrintPagesPerSide)});
  const double scaledWidth = pictureWidth * plan.scale;
  const double scaledHeight = pictureHeight * plan.scale;
  plan.columns = PagesFor(scaledWidth, roomWidth, overlap);
  plan.rows = PagesFor(scaledHeight, roomHeight, overlap);
  const double centred = plan.columns == 1 ? (roomWidth - scaledWidth) / 2 : 0;
  for (int row = 0; row < plan.rows; ++row) {
    const double down = row * (roomHeight - overlap);
    for (int column = 0; column < plan.columns; ++column) {
      const double across = column * (roomWidth - overlap);
      PrintPage page;
      page.row = row;
      page.column = column;
      if (plan.scale > 0) {
        page.sourceLeft = across / plan.scale;
        page.sourceTop = down / plan.scale;
        page.sourceWidth = std::min(roomWidth, scaledWidth - across) / plan.scale;
        page.sourceHeight = std::min(roomHeight, scaledHeight - down) / plan.scale;
      }
      page.left = centred;
      page.top = plan.headerHeight;
      plan.pages.push_back(page);
    }
  }
  return plan;
}

std::string PrintPageTitle(const std::string& moduleName, const PrintPlan& plan,
                           const PrintPage& page) {
  if (plan.pages.size() <= 1)
    return moduleName;
  return moduleName + "  " + std::to_string(page.row + 1) + "-" + std::to_string(page.column + 1);
}

}  // namespace pelkor
