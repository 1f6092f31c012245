// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/sketch_painter.h"

#include <QPainter>

#include "ui/qt_values.h"

namespace pelkor {

namespace {

QRect BoxOf(const SketchOp& op) {
  return QRect(ToQPoint(op.from), ToQPoint(op.to - Point{1, 1}));
}

}  // namespace

void PaintSketch(QPainter& painter, const Sketch& sketch) {
  for (const SketchOp& op : sketch) {
    switch (op.kind) {
      case SketchOp::Kind::kFillRect:
        painter.fillRect(BoxOf(op), ToQColor(op.fill));
        break;
      case SketchOp::Kind::kLine:
        painter.setPen(QPen(ToQColor(op.colour), op.penWidth));
        painter.drawLine(ToQPoint(op.from), ToQPoint(op.to));
        break;
      case SketchOp::Kind::kEllipse:
        painter.setPen(QPen(ToQColor(op.colour), op.penWidth));
        painter.setBrush(ToQColor(op.fill));
        painter.drawEllipse(BoxOf(op));
        break;
      case SketchOp::Kind::kText:
        painter.setPen(ToQColor(op.colour));
        painter.drawText(QRect(ToQPoint(op.from), QSize(4096, 4096)), Qt::AlignLeft | Qt::AlignTop,
                         ToQString(op.text));
        break;
    }
  }
}

}  // namespace pelkor
