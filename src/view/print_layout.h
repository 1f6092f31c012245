// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pelkor {

// Where a picture goes on a printed page, in the page's device units: a header line with the
// module's name at the top, then the picture scaled to fit the rest, centred across the page, never
// enlarged beyond `maxScale` (a small design stays readable rather than becoming poster-sized).
struct PrintLayout {
  double headerHeight = 0;  // the band the header text is drawn in, from the page's top
  double scale = 1;         // device units per picture pixel
  double left = 0;          // the picture's top-left corner on the page
  double top = 0;
};

PrintLayout FitPictureOnPage(int pictureWidth, int pictureHeight, double pageWidth,
                             double pageHeight, double headerHeight, double maxScale);

}  // namespace pelkor
