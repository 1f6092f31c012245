// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>

#include "files/settings.h"

namespace pelkor {

// Colour numbers of the colour table besides the six primitive kind codes.
inline constexpr int kArcColour = 6;
inline constexpr int kBackgroundColour = 12;
inline constexpr int kGridColour = 13;
inline constexpr int kNewModuleColour = 15;
inline constexpr int kSwitchColour = 16;

// Fixed colours of the view.
inline constexpr ColorRef kWhite = Rgb(255, 255, 255);
inline constexpr ColorRef kTextColour = Rgb(0, 0, 0);
inline constexpr ColorRef kTrackerColour = Rgb(0, 0, 0);
inline constexpr ColorRef kHighlightColour = Rgb(200, 50, 50);
// The outline of an object that holds or waits for tokens and cannot move.
inline constexpr ColorRef kBlockedColour = Rgb(0, 150, 200);
// A sink's live verdict.
inline constexpr ColorRef kPassColour = Rgb(0, 170, 0);
inline constexpr ColorRef kFailColour = Rgb(220, 0, 0);
inline constexpr int kHighlightPenWidth = 3;
// The selection's outlines and arcs are this much wider than the pen of the scale.
inline constexpr int kSelectionPenExtra = 2;

// What the view draws with, taken from the settings: the colour table, the grid and the font.
struct ViewStyle {
  std::map<int, ColorRef> colours = DefaultColours();  // by colour number
  int gridSize = 40;
  LogFont font;
  ColorRef selection = kDefaultSelectionColour;

  // The colour of a colour number; the default for one the table lacks.
  ColorRef Colour(int number) const;
};

ViewStyle StyleFromSettings(const Settings& settings);

// Outline, arc and grid pens are 3 pixels wide at scale 1, 2 at scales 2 and 4, 1 beyond.
int PenWidthForScale(int scale);

}  // namespace pelkor
