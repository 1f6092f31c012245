// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/view_style.h"

namespace pelkor {

ColorRef ViewStyle::Colour(int number) const {
  if (const auto it = colours.find(number); it != colours.end())
    return it->second;
  static const std::map<int, ColorRef> defaults = DefaultColours();
  const auto fallback = defaults.find(number);
  return fallback != defaults.end() ? fallback->second : kTextColour;
}

ViewStyle StyleFromSettings(const Settings& settings) {
  return {settings.colours, settings.gridSize, settings.font, settings.desktop.selectionColour};
}

int PenWidthForScale(int scale) {
  if (scale <= 1)
    return 3;
  return scale <= 4 ? 2 : 1;
}

}  // namespace pelkor
