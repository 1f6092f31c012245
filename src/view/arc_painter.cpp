// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdint>

#include "view/arrow_geometry.h"
#include "view/paint_context.h"

namespace pelkor {

namespace {

// Arcs stop this many pixels short of the centre of the object they point at.
constexpr int kArcGap = 27;

// The line p -> t, ending in an arrowhead at t.
void DrawArrowSegment(PaintContext& paint, Point p, Point t, const Pen& pen) {
  paint.out().Line(p, t, pen);
  const ArrowWings wings = ArrowWingsAt(p, t, ArrowStrokeLength(paint.zoomLevel()));
  paint.out().Line(t, wings.first, pen);
  paint.out().Line(t, wings.second, pen);
}

// Draws the pieces from `start` through every bend, each ending in an arrowhead; returns the
// screen point the last bend left off at.
Point DrawBends(PaintContext& paint, Point start, const std::vector<Point>& bends, const Pen& pen) {
  Point p = paint.Screen(start);
  for (const Point& bend : bends) {
    const Point next = paint.Screen(bend);
    DrawArrowSegment(paint, p, next, pen);
    p = next;
  }
  return p;
}

}  // namespace

void PaintRubberBand(PaintContext& paint, const Module& module, const ArcInProgress& arc) {
  const Point* source = module.PositionOf(arc.source);
  if (source == nullptr)
    return;
  const Pen pen = paint.PenOf(kArcColour);
  const Point p = DrawBends(paint, *source, arc.bends, pen);
  DrawArrowSegment(paint, p, paint.Screen(arc.rubberEnd), pen);
}

void PaintArcs(PaintContext& paint, const Module& module) {
  const Pen pen = paint.PenOf(kArcColour);
  for (const auto& [id, arc] : module.arcs) {
    const Point* from = module.PositionOf(arc.from);
    const Point* to = module.PositionOf(arc.to);
    if (from == nullptr || to == nullptr)
      continue;  // an arc whose end is gone has nothing to join
    const Point p = DrawBends(paint, *from, arc.bends, pen);
    const Point end = PointBefore(p, paint.Screen(*to), kArcGap / paint.scale());
    DrawArrowSegment(paint, p, end, pen);
    if (paint.scale() == 1) {
      const Point middle{static_cast<int>((std::int64_t{p.x} + end.x) / 2),
                         static_cast<int>((std::int64_t{p.y} + end.y) / 2)};
      paint.out().Text(middle, arc.name, kTextColour);
    }
  }
}

}  // namespace pelkor
