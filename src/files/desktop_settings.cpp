// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/desktop_settings.h"

#include <charconv>

namespace pelkor {

namespace {

constexpr std::string_view kDesktop = "DESKTOP";

struct TextKey {
  std::string_view key;
  std::string DesktopSettings::*field;
};

constexpr TextKey kTextKeys[] = {
    {"GEOMETRY", &DesktopSettings::geometry},
    {"DOCKS", &DesktopSettings::docks},
};

constexpr std::string_view kWheel = "WHEEL";
constexpr std::string_view kSnap = "SNAP";
constexpr std::string_view kSelectionColour = "SELCOLOR";

// A 24-bit colour written as a decimal number; anything else gives the default.
std::uint32_t ColourOf(const IniFile& ini, std::string_view key, std::uint32_t fallback) {
  const std::optional<std::string> text = ini.Get(kDesktop, key);
  std::uint32_t value = 0;
  if (!text || text->empty())
    return fallback;
  const char* end = text->data() + text->size();
  const auto [stop, error] = std::from_chars(text->data(), end, value);
  return error == std::errc{} && stop == end && value <= 0xFFFFFF ? value : fallback;
}

// A small number among the values a key may take; anything else gives the default.
int ChoiceOf(const IniFile& ini, std::string_view key, int count, int fallback) {
  const std::optional<std::string> text = ini.Get(kDesktop, key);
  if (!text || text->size() != 1 || (*text)[0] < '0' || (*text)[0] >= '0' + count)
    return fallback;
  return (*text)[0] - '0';
}

void SetChoice(IniFile& ini, std::string_view key, int value, int fallback) {
  if (value != fallback || ini.Get(kDesktop, key))
    ini.Set(kDesktop, key, std::to_string(value));
}

}  // namespace

DesktopSettings DesktopSettingsFromIni(const IniFile& ini) {
  DesktopSettings s;
  for (const TextKey& text : kTextKeys)
    s.*text.field = ini.Get(kDesktop, text.key).value_or("");
  s.wheel = static_cast<WheelHabit>(ChoiceOf(ini, kWheel, 3, 0));
  s.gridSnap = ChoiceOf(ini, kSnap, 2, 0) == 1;
  s.selectionColour = ColourOf(ini, kSelectionColour, kDefaultSelectionColour);
  return s;
}

void WriteDesktopSettingsToIni(const DesktopSettings& s, IniFile& ini) {
  for (const TextKey& text : kTextKeys) {
    if (!(s.*text.field).empty() || ini.Get(kDesktop, text.key))
      ini.Set(kDesktop, text.key, s.*text.field);
  }
  SetChoice(ini, kWheel, static_cast<int>(s.wheel), 0);
  SetChoice(ini, kSnap, s.gridSnap ? 1 : 0, 0);
  if (s.selectionColour != kDefaultSelectionColour || ini.Get(kDesktop, kSelectionColour))
    ini.Set(kDesktop, kSelectionColour, std::to_string(s.selectionColour));
}

}  // namespace pelkor
