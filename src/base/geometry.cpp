// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/geometry.h"

#include <cstdint>

#include "base/saturating_point.h"

namespace pelkor {

namespace {

int SnapCoordinate(int v, int gridSize) {
  const std::int64_t g = gridSize;
  const std::int64_t base = std::int64_t{v} / g * g;
  return SaturateToInt(v >= 0 ? base + g / 2 : base - g / 2);
}

}  // namespace

Point SnapToCell(Point p, int gridSize) {
  if (gridSize < 1)
    return p;
  return {SnapCoordinate(p.x, gridSize), SnapCoordinate(p.y, gridSize)};
}

}  // namespace pelkor
