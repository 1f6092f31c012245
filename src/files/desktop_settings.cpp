// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/desktop_settings.h"

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

}  // namespace

DesktopSettings DesktopSettingsFromIni(const IniFile& ini) {
  DesktopSettings s;
  for (const TextKey& text : kTextKeys)
    s.*text.field = ini.Get(kDesktop, text.key).value_or("");
  return s;
}

void WriteDesktopSettingsToIni(const DesktopSettings& s, IniFile& ini) {
  for (const TextKey& text : kTextKeys) {
    if (!(s.*text.field).empty() || ini.Get(kDesktop, text.key))
      ini.Set(kDesktop, text.key, s.*text.field);
  }
}

}  // namespace pelkor
