// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/geometry.h"

namespace pelkor {

// The end points of the two strokes of an arrowhead at t on the line from p: each `length`
// long and at 30 degrees to the line, pointing back toward p.
struct ArrowWings {
  Point first;
  Point second;

  bool operator==(const ArrowWings&) const = default;
};
ArrowWings ArrowWingsAt(Point p, Point t, int length);

// The point at `distance` from t along the line toward p. The arcs stop there, short of the
// box of the object they point at.
Point PointBefore(Point p, Point t, int distance);

// Whether p lies within `tolerance` of the line segment from a to b: a press on a drawn arc.
bool NearSegment(Point p, Point a, Point b, int tolerance);

// The stroke length of an arrowhead at a zoom level: 10, 5, 3, 2, 2, 1.
int ArrowStrokeLength(int zoomLevel);

}  // namespace pelkor
