// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/arrow_geometry.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace pelkor {

namespace {

// The angles are those of the drawings the view has always made: pi to six places, and 30
// degrees as a sixth of it. A line from right to left therefore ends a hair off the horizontal,
// which truncation can turn into a pixel.
constexpr double kPi = 3.141592;
constexpr double kWingAngle = 0.5235986666666667;

// Truncates toward zero, stopping at the ends of the int range.
int Truncate(double v) {
  if (v >= static_cast<double>(INT_MAX))
    return INT_MAX;
  if (v <= static_cast<double>(INT_MIN))
    return INT_MIN;
  return static_cast<int>(v);
}

// The direction from p to t; the caller has excluded a vertical line.
double LineAngle(Point p, Point t) {
  const double dx = static_cast<double>(t.x) - p.x;
  const double dy = static_cast<double>(t.y) - p.y;
  const double angle = std::atan(dy / dx);
  return dx < 0 ? angle + kPi : angle;
}

// The point `length` back from t, against the direction `angle`.
Point BackFrom(Point t, double angle, double length) {
  return {Truncate(t.x - length * std::cos(angle)), Truncate(t.y - length * std::sin(angle))};
}

}  // namespace

ArrowWings ArrowWingsAt(Point p, Point t, int length) {
  const double l = length;
  if (p.x == t.x) {
    const double across = l * std::sin(kWingAngle);
    const double along = l * std::cos(kWingAngle);
    const double y = p.y < t.y ? t.y - along : t.y + along;
    return {{Truncate(t.x - across), Truncate(y)}, {Truncate(t.x + across), Truncate(y)}};
  }
  const double angle = LineAngle(p, t);
  return {BackFrom(t, angle + kWingAngle, l), BackFrom(t, angle - kWingAngle, l)};
}

Point PointBefore(Point p, Point t, int distance) {
  if (p.x == t.x) {
    const double y =
        p.y < t.y ? static_cast<double>(t.y) - distance : static_cast<double>(t.y) + distance;
    return {t.x, Truncate(y)};
  }
  return BackFrom(t, LineAngle(p, t), distance);
}

bool NearSegment(Point p, Point a, Point b, int tolerance) {
  const double dx = static_cast<double>(b.x) - a.x;
  const double dy = static_cast<double>(b.y) - a.y;
  const double px = static_cast<double>(p.x) - a.x;
  const double py = static_cast<double>(p.y) - a.y;
  const double length2 = dx * dx + dy * dy;
  // The nearest point of the segment, as a fraction of the way from a to b.
  const double along = length2 == 0 ? 0 : std::clamp((px * dx + py * dy) / length2, 0.0, 1.0);
  const double ex = px - along * dx;
  const double ey = py - along * dy;
  return ex * ex + ey * ey <= static_cast<double>(tolerance) * tolerance;
}

int ArrowStrokeLength(int zoomLevel) {
  return 10 / (std::max(zoomLevel, 0) + 1);
}

}  // namespace pelkor
