// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/module_printing.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPrinter>

#include "ui/draw_list_painter.h"
#include "view/print_layout.h"

namespace pelkor {

namespace {

// The screen resolution the picture's pixels are meant for.
constexpr double kPictureDpi = 96;

}  // namespace

void PaintPicturePage(QPainter& painter, const QRectF& page, const DrawList& picture,
                      const QString& title) {
  painter.save();
  QFont headerFont = painter.font();
  headerFont.setPointSizeF(11);
  headerFont.setBold(true);
  painter.setFont(headerFont);
  const QFontMetricsF metrics(headerFont, painter.device());
  const double deviceDpi = painter.device()->logicalDpiX();
  const PrintLayout layout =
      FitPictureOnPage(picture.width, picture.height, page.width(), page.height(),
                       metrics.height() * 2, deviceDpi / kPictureDpi);
  painter.setPen(Qt::black);
  painter.drawText(QRectF(page.left(), page.top(), page.width(), metrics.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, title);
  if (layout.scale > 0) {
    painter.translate(page.left() + layout.left, page.top() + layout.top);
    painter.scale(layout.scale, layout.scale);
    painter.setClipRect(QRectF(0, 0, picture.width, picture.height));
    DrawListPainter().Paint(painter, picture);
  }
  painter.restore();
}

bool PrintPicture(QPrinter& printer, const DrawList& picture, const QString& title) {
  QPainter painter;
  if (!painter.begin(&printer))
    return false;
  PaintPicturePage(painter, QRectF(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size()),
                   picture, title);
  return painter.end();
}

}  // namespace pelkor
