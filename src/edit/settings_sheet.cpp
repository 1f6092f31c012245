// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/settings_sheet.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace pelkor {

const std::array<int, 11> kColourListNumbers = {2, 1, 16, 3, 4, 5, 6, 14, 15, 12, 13};

std::string_view ColourLabel(int colourNumber) {
  for (const ColourSetting& setting : kColourSettings) {
    if (setting.number == colourNumber)
      return setting.label;
  }
  return {};
}

ColourChannels SplitColour(ColorRef colour) {
  return {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
          static_cast<int>((colour >> 16) & 0xFF)};
}

ColorRef JoinChannels(ColourChannels channels) {
  // A channel out of range is held at its end, never wrapped into another colour.
  const auto byte = [](int channel) {
    return static_cast<std::uint8_t>(
        std::clamp(channel, kColourChannelRange.low, kColourChannelRange.high));
  };
  return Rgb(byte(channels.red), byte(channels.green), byte(channels.blue));
}

std::optional<int> ParseNumberInRange(std::string_view text, NumberRange range) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos)
    return std::nullopt;
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < range.low ||
      value > range.high) {
    return std::nullopt;
  }
  return value;
}

std::string RangeMessage(NumberRange range) {
  return std::to_string(range.low) + "から" + std::to_string(range.high) +
         "までの整数を入力してください";
}

int StepGridSpin(std::string_view text, int steps) {
  const NumberRange anyInt{std::numeric_limits<int>::min(), std::numeric_limits<int>::max()};
  const std::int64_t typed =
      std::clamp(ParseNumberInRange(text, anyInt).value_or(kGridSpinRange.low), kGridSpinRange.low,
                 kGridSpinRange.high);
  return static_cast<int>(
      std::clamp<std::int64_t>(typed + steps, kGridSpinRange.low, kGridSpinRange.high));
}

double PointsOfHeight(std::int32_t height) {
  return std::abs(height) * 72.0 / 96.0;
}

LogFont ChosenFont(const LogFont& font, const FontChoice& shown, const FontChoice& chosen) {
  LogFont result = font;
  if (chosen.face != shown.face)
    result.faceName = CutFaceName(chosen.face);
  if (chosen.points != shown.points) {
    // A character height (negative) stays one.
    const std::int64_t pixels = std::llround(chosen.points * 96.0 / 72.0);
    result.height = FontSizeWithinRange(font.height < 0 ? -pixels : pixels);
  }
  if (chosen.weight != shown.weight)
    result.weight = std::clamp(chosen.weight, kFontWeightRange.low, kFontWeightRange.high);
  if (chosen.italic != shown.italic)
    result.italic = chosen.italic ? 1 : 0;
  if (chosen.underline != shown.underline)
    result.underline = chosen.underline ? 1 : 0;
  if (chosen.strikeOut != shown.strikeOut)
    result.strikeOut = chosen.strikeOut ? 1 : 0;
  return result;
}

void RestoreSheetDefaults(Settings& sheet) {
  const Settings defaults;
  sheet.gridSize = defaults.gridSize;
  sheet.colours = defaults.colours;
  sheet.font = defaults.font;
}

void ApplySheet(const Settings& sheet, Settings& target) {
  target.colours = sheet.colours;
  target.gridSize = sheet.gridSize;
  target.font = sheet.font;
  target.timer = sheet.timer;
  target.shiftLine = sheet.shiftLine;
}

}  // namespace pelkor
