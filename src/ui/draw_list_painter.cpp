#include "ui/draw_list_painter.h"

#include <QFontMetrics>
#include <QLine>
#include <QPolygonF>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>

#include "view/view_font.h"

namespace pelkor {

namespace {

QColor ToQColor(ColorRef colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QPen ToQPen(const std::optional<Pen>& pen) {
  if (!pen)
    return QPen(Qt::NoPen);
  return QPen(ToQColor(pen->colour), pen->width,
              pen->style == PenStyle::kDotted ? Qt::DotLine : Qt::SolidLine, Qt::RoundCap,
              Qt::RoundJoin);
}

QBrush ToQBrush(const std::optional<ColorRef>& brush) {
  return brush ? QBrush(ToQColor(*brush)) : QBrush(Qt::NoBrush);
}

// Outlines and lines run through pixel centres, so that a wide pen spreads evenly to both
// sides of the pixels they name.
QPointF Centre(Point p) {
  return {p.x + 0.5, p.y + 0.5};
}

// The outline of a rectangle or ellipse: the right and bottom corners are exclusive.
QRectF OutlineBox(const DrawOp& op) {
  const Point a = op.points[0];
  const Point b = op.points[1];
  return {Centre(a), QSizeF(b.x - a.x - 1, b.y - a.y - 1)};
}

// An arc may run to an object far outside the window. Only the part near the window is
// handed to the rasterizer, whose fixed-point arithmetic does not reach the ends of the int
// range. False when nothing of the line is near.
bool ClipLine(QLineF& line, const QRectF& area) {
  double t0 = 0.0;
  double t1 = 1.0;
  const double dx = line.dx();
  const double dy = line.dy();
  const std::array<double, 4> p = {-dx, dx, -dy, dy};
  const std::array<double, 4> q = {line.x1() - area.left(), area.right() - line.x1(),
                                   line.y1() - area.top(), area.bottom() - line.y1()};
  for (std::size_t i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0)
        return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1)
      return false;
  }
  const QPointF start = line.p1();
  line = QLineF(start + QPointF(dx, dy) * t0, start + QPointF(dx, dy) * t1);
  return true;
}

void DrawLine(QPainter& painter, const DrawOp& op, const QRectF& near) {
  QLineF line(Centre(op.points[0]), Centre(op.points[1]));
  if ((near.contains(line.p1()) && near.contains(line.p2())) || ClipLine(line, near))
    painter.drawLine(line);
}

// Texts are one line: control characters stand as blanks.
QString OneLine(const std::string& text) {
  QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  for (QChar& c : line) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7F)
      c = QChar(u' ');
  }
  return line;
}

}  // namespace

void InstallFontSubstitutions() {
  QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
  QFont::insertSubstitution(QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"));
  QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
  QFont::insertSubstitution(QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"));
}

QFont ViewFont(const LogFont& logFont) {
  QFont font(
      QString::fromUtf8(logFont.faceName.data(), static_cast<qsizetype>(logFont.faceName.size())));
  font.setPixelSize(FontPixelHeight(logFont));
  font.setWeight(static_cast<QFont::Weight>(FontWeight(logFont)));
  font.setItalic(logFont.italic != 0);
  font.setUnderline(logFont.underline != 0);
  font.setStrikeOut(logFont.strikeOut != 0);
  return font;
}

void PaintDrawList(QPainter& painter, const DrawList& list) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  const QFont font = ViewFont(list.font);
  painter.setFont(font);
  const int ascent = QFontMetrics(font).ascent();
  // Wide enough that no clipped end shows, small enough for the rasterizer.
  const QRectF near(-1000, -1000, list.width + 2000.0, list.height + 2000.0);
  for (const DrawOp& op : list.ops) {
    const Point a = op.points[0];
    switch (op.shape) {
      case DrawShape::kFillRect:
        painter.fillRect(QRect(QPoint(a.x, a.y), QPoint(op.points[1].x - 1, op.points[1].y - 1)),
                         ToQColor(op.brush.value_or(0)));
        break;
      case DrawShape::kRectangle:
        painter.setPen(ToQPen(op.pen));
        painter.setBrush(ToQBrush(op.brush));
        painter.drawRect(OutlineBox(op));
        break;
      case DrawShape::kEllipse:
        painter.setPen(ToQPen(op.pen));
        painter.setBrush(ToQBrush(op.brush));
        painter.drawEllipse(OutlineBox(op));
        break;
      case DrawShape::kPolygon: {
        QPolygonF polygon;
        for (const Point& p : op.Points())
          polygon << Centre(p);
        painter.setPen(ToQPen(op.pen));
        painter.setBrush(ToQBrush(op.brush));
        painter.drawPolygon(polygon);
        break;
      }
      case DrawShape::kLine:
        painter.setPen(ToQPen(op.pen));
        DrawLine(painter, op, near);
        break;
      case DrawShape::kPixel:
        painter.fillRect(QRect(a.x, a.y, 1, 1), ToQColor(op.pen ? op.pen->colour : 0));
        break;
      case DrawShape::kText:
        painter.setPen(ToQColor(op.pen ? op.pen->colour : 0));
        painter.drawText(QPoint(a.x, a.y + ascent), OneLine(op.text));
        break;
    }
  }
  painter.restore();
}

void RenderDrawList(const DrawList& list, QImage& image) {
  if (image.width() != list.width || image.height() != list.height)
    image = QImage(std::max(list.width, 1), std::max(list.height, 1), QImage::Format_RGB32);
  QPainter painter(&image);
  PaintDrawList(painter, list);
}

}  // namespace pelkor
