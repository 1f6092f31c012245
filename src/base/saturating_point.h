// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <limits>

#include "base/geometry.h"

namespace pelkor {

// Position arithmetic that stops at the ends of the int range instead of overflowing: a design
// file may place a primitive anywhere, and moving it must not wrap it to the far side.
constexpr int SaturateToInt(std::int64_t value) {
  if (value > std::numeric_limits<int>::max())
    return std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min())
    return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

constexpr Point SaturatingAdd(Point a, Point b) {
  return {SaturateToInt(std::int64_t{a.x} + b.x), SaturateToInt(std::int64_t{a.y} + b.y)};
}

constexpr Point SaturatingSub(Point a, Point b) {
  return {SaturateToInt(std::int64_t{a.x} - b.x), SaturateToInt(std::int64_t{a.y} - b.y)};
}

}  // namespace pelkor
