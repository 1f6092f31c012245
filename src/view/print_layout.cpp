// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/print_layout.h"

#include <algorithm>

namespace pelkor {

PrintLayout FitPictureOnPage(int pictureWidth, int pictureHeight, double pageWidth,
                             double pageHeight, double headerHeight, double maxScale) {
  PrintLayout layout;
  layout.headerHeight = std::clamp(headerHeight, 0.0, std::max(pageHeight, 0.0));
  const double roomWidth = std::max(pageWidth, 0.0);
  const double roomHeight = std::max(pageHeight - layout.headerHeight, 0.0);
  if (pictureWidth <= 0 || pictureHeight <= 0) {
    layout.scale = 0;
    layout.left = 0;
    layout.top = layout.headerHeight;
    return layout;
  }
  layout.scale =
      std::min({roomWidth / pictureWidth, roomHeight / pictureHeight, std::max(maxScale, 0.0)});
  layout.left = (roomWidth - pictureWidth * layout.scale) / 2;
  layout.top = layout.headerHeight;
  return layout;
}

}  // namespace pelkor
