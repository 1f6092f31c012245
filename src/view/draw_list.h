// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "files/settings.h"

namespace pelkor {

// A picture of the view as a list of drawing operations in client pixels, painted in order.
// Every front end replays the same list (the desktop view, printing, the SVG writer), so the
// rules below are what each replay keeps:
// - Corners (fill rect, rectangle, ellipse) are those of a platform rectangle call: the right
//   and bottom corners are exclusive, so the figure's box covers the pixels left .. right - 1
//   and top .. bottom - 1. An outline is centred on the edge pixels of that box; the fill
//   covers the box.
// - A line runs from its first point to its second, with square caps (half the pen's width
//   beyond each end). Outlines join in mitres, bevelled where a mitre would reach more than
//   twice the pen's width. A 1-pixel line may or may not light its last pixel.
// - A text is placed with its top-left corner at its point, in the list's font, with a
//   transparent background; it is one line, whatever characters it holds.
enum class DrawShape : std::uint8_t {
  kFillRect,   // points[0], points[1]: corners; brush only
  kRectangle,  // corners; outlined with the pen, filled with the brush
  kEllipse,    // the ellipse inscribed in the corners' box; pen and brush as a rectangle
  kPolygon,    // pointCount points, closed; filled with the brush, outlined with the pen
  kLine,       // points[0] to points[1] with the pen
  kPixel,      // the pixel points[0] in the pen's colour
  kText,       // text with its top-left corner at points[0], in the pen's colour
};

enum class PenStyle : std::uint8_t { kSolid, kDotted };

struct Pen {
  ColorRef colour = 0;
  int width = 1;
  PenStyle style = PenStyle::kSolid;

  bool operator==(const Pen&) const = default;
};

struct DrawOp {
  DrawShape shape = DrawShape::kPixel;
  std::optional<Pen> pen;         // none: no outline
  std::optional<ColorRef> brush;  // none: not filled
  std::array<Point, 4> points{};
  std::uint8_t pointCount = 0;
  std::string text;

  std::span<const Point> Points() const { return {points.data(), pointCount}; }
  bool operator==(const DrawOp&) const = default;
};

struct DrawList {
  int width = 0;  // the picture's size in pixels
  int height = 0;
  LogFont font;  // the font of every text
  std::vector<DrawOp> ops;

  // Empties the list for a new picture, keeping its storage.
  void Reset(int newWidth, int newHeight, const LogFont& newFont);

  void FillRect(Rect corners, ColorRef brush);
  void Rectangle(Rect corners, const Pen& pen, std::optional<ColorRef> brush);
  void Ellipse(Rect corners, const Pen& pen, std::optional<ColorRef> brush);
  // At most four points.
  void Polygon(std::initializer_list<Point> points, std::optional<Pen> pen,
               std::optional<ColorRef> brush);
  void Line(Point from, Point to, const Pen& pen);
  void Pixel(Point at, ColorRef colour);
  // An empty text draws nothing and adds nothing.
  void Text(Point topLeft, std::string text, ColorRef colour);

 private:
  DrawOp& Add(DrawShape shape);
  DrawOp& AddBox(DrawShape shape, Rect corners);
};

}  // namespace pelkor
