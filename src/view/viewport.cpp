#include "view/viewport.h"

#include <algorithm>
#include <cstdint>

#include "model/saturating_point.h"

namespace pelkor {

namespace {

// Every zoom level gives a scale of at least 1; a smaller one would only divide by zero.
std::int64_t UsableScale(int scale) {
  return std::max(scale, 1);
}

int SnapCoordinate(int v, int gridSize) {
  const std::int64_t g = gridSize;
  const std::int64_t base = std::int64_t{v} / g * g;
  return SaturateToInt(v >= 0 ? base + g / 2 : base - g / 2);
}

}  // namespace

Point Viewport::ToScreen(Point logical) const {
  const std::int64_t s = UsableScale(scale);
  return {SaturateToInt((std::int64_t{logical.x} - origin.x) / s),
          SaturateToInt((std::int64_t{logical.y} - origin.y) / s)};
}

Point Viewport::ToLogical(Point pixel) const {
  const std::int64_t s = UsableScale(scale);
  return {SaturateToInt(pixel.x * s + origin.x), SaturateToInt(pixel.y * s + origin.y)};
}

Point SnapToCell(Point p, int gridSize) {
  if (gridSize < 1)
    return p;
  return {SnapCoordinate(p.x, gridSize), SnapCoordinate(p.y, gridSize)};
}

}  // namespace pelkor
