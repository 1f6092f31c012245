// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdint>

#include "view/arc_path.h"
#include "view/arrow_geometry.h"
#include "view/paint_context.h"

namespace pelkor {

namespace {

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

void PaintArcPath(PaintContext& paint, const std::vector<Point>& path, const Pen& pen) {
  for (std::size_t i = 1; i < path.size(); ++i)
    DrawArrowSegment(paint, path[i - 1], path[i], pen);
}

void PaintArcs(PaintContext& paint, const Module& module) {
  const Pen pen = paint.PenOf(kArcColour);
  for (const auto& [id, arc] : module.arcs) {
    const std::vector<Point> path = ArcScreenPath(module, arc, paint.view());
    if (path.empty())
      continue;  // an arc whose end is gone has nothing to join
    PaintArcPath(paint, path, pen);
    if (paint.scale() == 1) {
      const Point p = path[path.size() - 2];
      const Point end = path.back();
      const Point middle{static_cast<int>((std::int64_t{p.x} + end.x) / 2),
                         static_cast<int>((std::int64_t{p.y} + end.y) / 2)};
      paint.out().Text(middle, arc.name, kTextColour);
    }
  }
}

}  // namespace pelkor
