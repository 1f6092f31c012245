// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/draw_list.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace pelkor {

void DrawList::Reset(int newWidth, int newHeight, const LogFont& newFont) {
  width = newWidth;
  height = newHeight;
  if (font != newFont)
    font = newFont;
  ops.clear();
}

DrawOp& DrawList::Add(DrawShape shape) {
  DrawOp& op = ops.emplace_back();
  op.shape = shape;
  return op;
}

DrawOp& DrawList::AddBox(DrawShape shape, Rect corners) {
  DrawOp& op = Add(shape);
  op.points[0] = {corners.left, corners.top};
  op.points[1] = {corners.right, corners.bottom};
  op.pointCount = 2;
  return op;
}

void DrawList::FillRect(Rect corners, ColorRef brush) {
  AddBox(DrawShape::kFillRect, corners).brush = brush;
}

void DrawList::Rectangle(Rect corners, const Pen& pen, std::optional<ColorRef> brush) {
  DrawOp& op = AddBox(DrawShape::kRectangle, corners);
  op.pen = pen;
  op.brush = brush;
}

void DrawList::Ellipse(Rect corners, const Pen& pen, std::optional<ColorRef> brush) {
  DrawOp& op = AddBox(DrawShape::kEllipse, corners);
  op.pen = pen;
  op.brush = brush;
}

void DrawList::Polygon(std::initializer_list<Point> points, std::optional<Pen> pen,
                       std::optional<ColorRef> brush) {
  assert(points.size() <= 4);
  DrawOp& op = Add(DrawShape::kPolygon);
  op.pen = pen;
  op.brush = brush;
  op.pointCount = static_cast<std::uint8_t>(std::min<std::size_t>(points.size(), 4));
  std::copy_n(points.begin(), op.pointCount, op.points.begin());
}

void DrawList::Line(Point from, Point to, const Pen& pen) {
  DrawOp& op = Add(DrawShape::kLine);
  op.pen = pen;
  op.points[0] = from;
  op.points[1] = to;
  op.pointCount = 2;
}

void DrawList::Pixel(Point at, ColorRef colour) {
  DrawOp& op = Add(DrawShape::kPixel);
  op.pen = Pen{colour, 1};
  op.points[0] = at;
  op.pointCount = 1;
}

void DrawList::Text(Point topLeft, std::string text, ColorRef colour) {
  if (text.empty())
    return;
  DrawOp& op = Add(DrawShape::kText);
  op.pen = Pen{colour, 1};
  op.points[0] = topLeft;
  op.pointCount = 1;
  op.text = std::move(text);
}

}  // namespace pelkor
