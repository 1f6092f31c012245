// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/module_printing.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPrinter>

#include "ui/draw_list_painter.h"
#include "ui/qt_values.h"

namespace pelkor {

namespace {

// The screen resolution the picture's pixels are meant for.
constexpr double kPictureDpi = 96;
// How much of the picture each page repeats from the page before, so that sheets can be laid
// over each other and joined.
constexpr double kOverlapMillimetres = 10;

}  // namespace

int PaintPicturePages(QPainter& painter, const QSizeF& page, const DrawList& picture,
                      const std::string& moduleName, const PrintScale& scale,
                      const std::function<bool()>& newPage) {
  QFont headerFont = painter.font();
  headerFont.setPointSizeF(11);
  headerFont.setBold(true);
  const QFontMetricsF metrics(headerFont, painter.device());
  const double deviceDpi = painter.device()->logicalDpiX();
  const PrintPaper paper{.width = page.width(),
                         .height = page.height(),
                         .headerHeight = metrics.height() * 2,
                         .fullScale = deviceDpi / kPictureDpi,
                         .overlap = deviceDpi * kOverlapMillimetres / 25.4};
  const PrintPlan plan = PlanPrint(picture.width, picture.height, paper, scale);
  DrawListPainter replay;
  int painted = 0;
  for (const PrintPage& sheet : plan.pages) {
    if (painted > 0 && !newPage())
      break;
    painter.save();
    painter.setFont(headerFont);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, 0, page.width(), metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     ToQString(PrintPageTitle(moduleName, plan, sheet)));
    if (plan.scale > 0) {
      painter.translate(sheet.left - sheet.sourceLeft * plan.scale,
                        sheet.top - sheet.sourceTop * plan.scale);
      painter.scale(plan.scale, plan.scale);
      painter.setClipRect(
          QRectF(sheet.sourceLeft, sheet.sourceTop, sheet.sourceWidth, sheet.sourceHeight));
      replay.Paint(painter, picture);
    }
    painter.restore();
    ++painted;
  }
  return painted;
}

bool PrintPicture(QPrinter& printer, const DrawList& picture, const std::string& moduleName,
                  const PrintScale& scale) {
  QPainter painter;
  if (!painter.begin(&printer))
    return false;
  PaintPicturePages(painter, printer.pageRect(QPrinter::DevicePixel).size(), picture, moduleName,
                    scale, [&printer] { return printer.newPage(); });
  return painter.end();
}

}  // namespace pelkor
