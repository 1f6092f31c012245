// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRectF>
#include <QString>

#include "view/draw_list.h"

class QPainter;
class QPrinter;

namespace pelkor {

// Paints one page: `title` as a header line, then `picture` scaled to fit the rest of `page`,
// centred across it, never larger than the picture's screen size.
void PaintPicturePage(QPainter& painter, const QRectF& page, const DrawList& picture,
                      const QString& title);

// Prints the picture on one page of `printer`; false when the printer cannot start (no
// printer, or an output file that cannot be written).
bool PrintPicture(QPrinter& printer, const DrawList& picture, const QString& title);

}  // namespace pelkor
