// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/view_font.h"

#include <algorithm>
#include <cstdlib>

namespace pelkor {

int FontPixelHeight(const LogFont& font) {
  if (font.height == 0)
    return LogFont{}.height;
  // The settings keep any int; a font taller than a screen is no use to anyone.
  return static_cast<int>(std::min<long long>(std::llabs(font.height), 1000));
}

int FontWeight(const LogFont& font) {
  return font.weight == 0 ? 400 : std::clamp(font.weight, 1, 1000);
}

}  // namespace pelkor
