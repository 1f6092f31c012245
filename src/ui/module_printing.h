// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSizeF>
#include <functional>
#include <string>

#include "view/draw_list.h"
#include "view/print_layout.h"

class QPainter;
class QPrinter;

namespace pelkor {

// Paints `picture` at `scale` onto pages of `page` size in the painter's device units, each
// under a header line with the module's name (and the page's row and column when there are
// several). `newPage` starts every page after the first and says whether it could. Returns the
// number of pages painted.
int PaintPicturePages(QPainter& painter, const QSizeF& page, const DrawList& picture,
                      const std::string& moduleName, const PrintScale& scale,
                      const std::function<bool()>& newPage);

// Prints the picture on as many pages of `printer` as the scale needs; false when the printer
// cannot start (no printer, or an output file that cannot be written).
bool PrintPicture(QPrinter& printer, const DrawList& picture, const std::string& moduleName,
                  const PrintScale& scale);

}  // namespace pelkor
