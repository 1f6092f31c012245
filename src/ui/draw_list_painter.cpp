// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/draw_list_painter.h"

#include <QFontMetrics>
#include <QLineF>
#include <QPolygonF>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <functional>

#include "view/view_font.h"

namespace pelkor {

namespace {

// Sprites are kept for figures up to this size; larger ones (a long label, the tracker) are
// painted directly. The cache starts afresh when it holds this many.
constexpr int kMaxSpriteSide = 256;
constexpr std::size_t kMaxSprites = 4096;

QColor ToQColor(ColorRef colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QPen ToQPen(const std::optional<Pen>& pen) {
  if (!pen)
    return QPen(Qt::NoPen);
  return QPen(ToQColor(pen->colour), pen->width,
              pen->style == PenStyle::kDotted ? Qt::DotLine : Qt::SolidLine, Qt::SquareCap,
              Qt::MiterJoin);
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

// Texts are one line: control characters stand as blanks.
QString OneLine(const std::string& text) {
  QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  for (QChar& c : line) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7F)
      c = QChar(u' ');
  }
  return line;
}

// Paints one operation as it stands; the painter has the view font. `near` is the area lines
// are clipped to.
void PaintOp(QPainter& painter, const DrawOp& op, int ascent, const QRectF& near) {
  const Point a = op.points[0];
  switch (op.shape) {
    case DrawShape::kFillRect:
      painter.fillRect(QRect(QPoint(a.x, a.y), QPoint(op.points[1].x - 1, op.points[1].y - 1)),
                       ToQColor(op.brush.value_or(0)));
      return;
    case DrawShape::kPixel:
      painter.fillRect(QRect(a.x, a.y, 1, 1), ToQColor(op.pen ? op.pen->colour : 0));
      return;
    case DrawShape::kText:
      painter.setPen(ToQColor(op.pen ? op.pen->colour : 0));
      painter.drawText(QPoint(a.x, a.y + ascent), OneLine(op.text));
      return;
    default:
      break;
  }
  painter.setPen(ToQPen(op.pen));
  painter.setBrush(ToQBrush(op.brush));
  switch (op.shape) {
    case DrawShape::kRectangle:
      painter.drawRect(OutlineBox(op));
      break;
    case DrawShape::kEllipse:
      painter.drawEllipse(OutlineBox(op));
      break;
    case DrawShape::kPolygon: {
      QPolygonF polygon;
      for (const Point& p : op.Points())
        polygon << Centre(p);
      painter.drawPolygon(polygon);
      break;
    }
    default: {
      QLineF line(Centre(op.points[0]), Centre(op.points[1]));
      if ((near.contains(line.p1()) && near.contains(line.p2())) || ClipLine(line, near))
        painter.drawLine(line);
      break;
    }
  }
}

// Where a figure may paint, relative to its first point.
QRect FigureBounds(const DrawOp& op, const QFontMetrics& metrics, int ascent) {
  if (op.shape == DrawShape::kText) {
    // Room for italic overhang on both sides.
    const QRect text = metrics.boundingRect(OneLine(op.text)).translated(0, ascent);
    const int slack = metrics.height() / 2 + 2;
    return text.adjusted(-slack, -slack, slack, slack);
  }
  const Point a = op.points[0];
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  for (const Point& p : op.Points()) {
    left = std::min(left, p.x - a.x);
    top = std::min(top, p.y - a.y);
    right = std::max(right, p.x - a.x);
    bottom = std::max(bottom, p.y - a.y);
  }
  const int reach = (op.pen ? op.pen->width : 0) + 2;
  return QRect(QPoint(left - reach, top - reach), QPoint(right + reach, bottom + reach));
}

// Whether a figure is small enough for a sprite. Texts are measured when their sprite is made.
bool SmallFigure(const DrawOp& op) {
  if (op.shape == DrawShape::kFillRect || op.shape == DrawShape::kPixel)
    return false;
  const Point a = op.points[0];
  for (const Point& p : op.Points()) {
    if (std::abs(std::int64_t{p.x} - a.x) > kMaxSpriteSide ||
        std::abs(std::int64_t{p.y} - a.y) > kMaxSpriteSide)
      return false;
  }
  return true;
}

// The smallest rectangle holding every painted pixel of an image; empty when none is.
QRect PaintedArea(const QImage& image) {
  int left = image.width();
  int top = image.height();
  int right = -1;
  int bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(row[x]) == 0)
        continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Lines are clipped to the window widened enough that no clipped end shows, and small enough
// for the rasterizer.
QRectF NearArea(const DrawList& list) {
  return {-1000, -1000, list.width + 2000.0, list.height + 2000.0};
}

struct BackBuffer {
  QRgb* pixels;
  int width;
  int height;
  int stride;  // pixels per row
};

// c * a / 255 on each byte of a premultiplied pixel, rounded as Qt's own blending rounds.
QRgb ByteMul(QRgb c, uint a) {
  uint low = (c & 0xff00ff) * a;
  low = ((low + ((low >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
  uint high = ((c >> 8) & 0xff00ff) * a;
  high = (high + ((high >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
  return high | low;
}

// Lays a premultiplied sprite over the back buffer at `at` (source over), clipped to it.
void Blit(const BackBuffer& target, const QImage& sprite, QPoint at) {
  const QRect area = QRect(at, sprite.size()).intersected(QRect(0, 0, target.width, target.height));
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const auto* from =
        reinterpret_cast<const QRgb*>(sprite.constScanLine(y - at.y())) + (area.left() - at.x());
    QRgb* to = target.pixels + static_cast<std::ptrdiff_t>(y) * target.stride + area.left();
    for (int x = 0; x < area.width(); ++x) {
      const QRgb pixel = from[x];
      const uint alpha = qAlpha(pixel);
      if (alpha == 255)
        to[x] = pixel;
      else if (alpha != 0)
        to[x] = pixel + ByteMul(to[x], 255 - alpha);
    }
  }
}

// Small sprites are laid by hand, which saves the painter's set-up for each; larger ones by
// the painter, whose blending runs on wide registers.
constexpr int kHandLaidPixels = 256;

void LaySprite(QPainter& painter, const BackBuffer& target, const QImage& sprite, QPoint at) {
  if (sprite.width() * sprite.height() <= kHandLaidPixels)
    Blit(target, sprite, at);
  else
    painter.drawImage(at, sprite);
}

template <typename T>
void Combine(std::size_t& seed, const T& value) {
  seed ^= std::hash<T>{}(value) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
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

std::size_t DrawListPainter::SpriteKeyHash::operator()(const SpriteKey& key) const {
  std::size_t seed = static_cast<std::size_t>(key.shape);
  if (key.pen) {
    Combine(seed, key.pen->colour);
    Combine(seed, key.pen->width);
    Combine(seed, static_cast<int>(key.pen->style));
  }
  Combine(seed, key.brush.value_or(0x1000000));
  for (const Point& p : key.points) {
    Combine(seed, p.x);
    Combine(seed, p.y);
  }
  Combine(seed, key.text);
  return seed;
}

void DrawListPainter::UseFont(const LogFont& font) {
  if (fontOf_ == font)
    return;
  fontOf_ = font;
  font_ = ViewFont(font);
  ascent_ = QFontMetrics(font_).ascent();
  sprites_.clear();
}

const DrawListPainter::Sprite& DrawListPainter::SpriteOf(const DrawOp& op) {
  SpriteKey key{op.shape, op.pen, op.brush, {}, op.text};
  const Point a = op.points[0];
  for (std::size_t i = 0; i < op.pointCount; ++i)
    key.points[i] = op.points[i] - a;
  if (const auto found = sprites_.find(key); found != sprites_.end())
    return found->second;

  if (sprites_.size() >= kMaxSprites)
    sprites_.clear();
  Sprite& sprite = sprites_[key];
  const QRect bounds = FigureBounds(op, QFontMetrics(font_), ascent_);
  if (bounds.width() > kMaxSpriteSide || bounds.height() > kMaxSpriteSide)
    return sprite;
  QImage canvas(bounds.size(), QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  {
    QPainter painter(&canvas);
    painter.setFont(font_);
    painter.translate(-bounds.left(), -bounds.top());
    DrawOp atOrigin = op;
    std::copy(key.points.begin(), key.points.end(), atOrigin.points.begin());
    PaintOp(painter, atOrigin, ascent_, QRectF(bounds));
  }
  // Only the painted pixels are copied at every use.
  const QRect painted = PaintedArea(canvas);
  sprite.blank = painted.isEmpty();
  sprite.offset = bounds.topLeft() + painted.topLeft();
  sprite.image = sprite.blank ? QImage() : canvas.copy(painted);
  return sprite;
}

void DrawListPainter::Paint(QPainter& painter, const DrawList& list) {
  UseFont(list.font);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setFont(font_);
  const QRectF near = NearArea(list);
  for (const DrawOp& op : list.ops)
    PaintOp(painter, op, ascent_, near);
  painter.restore();
}

void DrawListPainter::Render(const DrawList& list, QImage& image) {
  if (image.width() != list.width || image.height() != list.height ||
      image.format() != QImage::Format_RGB32)
    image = QImage(std::max(list.width, 1), std::max(list.height, 1), QImage::Format_RGB32);
  UseFont(list.font);
  // Sprites go straight into the image's memory, between the figures the painter draws; the
  // raster painter writes there at once, so the order holds.
  BackBuffer target{reinterpret_cast<QRgb*>(image.bits()), image.width(), image.height(),
                    static_cast<int>(image.bytesPerLine() / sizeof(QRgb))};
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setFont(font_);
  const QRectF near = NearArea(list);
  for (const DrawOp& op : list.ops) {
    const Sprite* sprite = SmallFigure(op) ? &SpriteOf(op) : nullptr;
    if (sprite == nullptr || (sprite->image.isNull() && !sprite->blank))
      PaintOp(painter, op, ascent_, near);
    else if (!sprite->blank)
      LaySprite(painter, target, sprite->image,
                QPoint(op.points[0].x, op.points[0].y) + sprite->offset);
  }
}

}  // namespace pelkor
