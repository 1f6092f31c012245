// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "files/settings.h"

namespace pelkor {

// The colour list of the settings dialog: colour numbers in the order the list shows them.
extern const std::array<int, 11> kColourListNumbers;
// The name the list shows for a colour number.
std::string_view ColourLabel(int colourNumber);

struct ColourChannels {
  int red = 0;
  int green = 0;
  int blue = 0;

  bool operator==(const ColourChannels&) const = default;
};
ColourChannels SplitColour(ColorRef colour);
ColorRef JoinChannels(ColourChannels channels);

// The values a number edit of the dialog accepts, besides the grid size and the speed, which
// the settings file keeps to the same ranges.
constexpr NumberRange kColourChannelRange{0, 255};
constexpr NumberRange kGridSpinRange{1, 128};  // where the grid size's arrows go

// A whole decimal number within the range, blanks around it allowed; nullopt otherwise.
std::optional<int> ParseNumberInRange(std::string_view text, NumberRange range);
// What the dialog says when an edit holds anything else.
std::string RangeMessage(NumberRange range);
// The grid size edit's arrows: from the number typed (the lowest when there is none), `steps`
// up or down, kept within kGridSpinRange.
int StepGridSpin(std::string_view text, int steps);

// A font as the font dialog shows and answers it.
struct FontChoice {
  std::string face;
  double points = 0;  // the size
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;

  bool operator==(const FontChoice&) const = default;
};
// The font dialog works in points; the settings keep pixels at the screen's 96 per inch.
double PointsOfHeight(std::int32_t height);
// The sheet's font after the font dialog, opened at `shown`, answered `chosen`: only what was
// changed in the dialog changes, so that OK without a change keeps every field, also a face
// this system lacks, which the dialog shows as another.
LogFont ChosenFont(const LogFont& font, const FontChoice& shown, const FontChoice& chosen);

// "デフォルト": the default grid size, colours and font; the speed and direction stay.
void RestoreSheetDefaults(Settings& sheet);
// OK: the view takes the sheet's colours, grid size, font, speed and direction.
void ApplySheet(const Settings& sheet, Settings& target);

}  // namespace pelkor
