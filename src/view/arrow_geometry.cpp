#include "view/arrow_geometry.h"

#include <cmath>

namespace pelkor {

namespace {

// The angles are those of the drawings made so far, π included, so that every wing and every
// arc end lands on the same pixel.
constexpr double kPi = 3.141592;
constexpr double kThirtyDegrees = 0.5235986666666667;

Point Truncated(double x, double y) {
  return {static_cast<int>(x), static_cast<int>(y)};
}

// The direction from p to t; only for p.x != t.x.
double AngleOf(Point p, Point t) {
  const double angle = std::atan(static_cast<double>(t.y - p.y) / (t.x - p.x));
  return t.x < p.x ? angle + kPi : angle;
}

}  // namespace

ArrowSegment MakeArrowSegment(Point p, Point t, int strokeLength) {
  const double length = strokeLength;
  if (p.x == t.x) {
    const double side = length * std::sin(kThirtyDegrees);
    const double back = length * std::cos(kThirtyDegrees);
    const double y = p.y < t.y ? t.y - back : t.y + back;
    return {p, t, Truncated(t.x - side, y), Truncated(t.x + side, y)};
  }
  const double angle = AngleOf(p, t);
  const auto wing = [&](double direction) {
    return Truncated(t.x - length * std::cos(direction), t.y - length * std::sin(direction));
  };
  return {p, t, wing(angle + kThirtyDegrees), wing(angle - kThirtyDegrees)};
}

Point PointBefore(Point p, Point t, double distance) {
  if (p.x == t.x)
    return p.y < t.y ? Truncated(t.x, t.y - distance) : Truncated(t.x, t.y + distance);
  const double angle = AngleOf(p, t);
  return Truncated(t.x - distance * std::cos(angle), t.y - distance * std::sin(angle));
}

}  // namespace pelkor
