// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/settings_sheet.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
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
  return Rgb(static_cast<std::uint8_t>(channels.red), static_cast<std::uint8_t>(channels.green),
             static_cast<std::uint8_t>(channels.blue));
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
