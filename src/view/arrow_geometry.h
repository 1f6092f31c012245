#pragma once

#include "base/geometry.h"

namespace pelkor {

// A drawn arc piece: the line from `from` to `to`, and two strokes from `to` to the wing ends,
// each at 30 degrees to the line, pointing back toward `from`.
struct ArrowSegment {
  Point from;
  Point to;
  Point wing1;
  Point wing2;

  bool operator==(const ArrowSegment&) const = default;
};

// The arrow piece p -> t with strokes of `strokeLength` pixels.
ArrowSegment MakeArrowSegment(Point p, Point t, int strokeLength);

// The point at `distance` from t along the line toward p, where an arc stops short of its
// target.
Point PointBefore(Point p, Point t, double distance);

}  // namespace pelkor
