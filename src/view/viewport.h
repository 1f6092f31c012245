// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/geometry.h"

namespace pelkor {

// The mapping between a module's logical plane and the client area's pixels at one zoom level
// and scroll position. Results that would leave the int range stop at its ends.
struct Viewport {
  Point origin;   // logical coordinates of the client area's top-left pixel
  int scale = 1;  // logical units per pixel: 1, 2, 4, 8, 16 or 32

  // Logical point -> client pixel; the division truncates toward zero.
  Point ToScreen(Point logical) const;
  // Client pixel -> logical point.
  Point ToLogical(Point pixel) const;
};

}  // namespace pelkor
