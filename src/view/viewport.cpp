// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/viewport.h"

#include <algorithm>
#include <cstdint>

#include "base/saturating_point.h"

namespace pelkor {

namespace {

// Every zoom level gives a scale of at least 1; a smaller one would only divide by zero.
std::int64_t UsableScale(int scale) {
  return std::max(scale, 1);
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

}  // namespace pelkor
