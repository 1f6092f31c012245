// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "files/ini_file.h"

namespace pelkor {

// What the desktop application remembers beyond the Windows build's settings, in a section of
// its own ("DESKTOP") that the Windows build never reads.
struct DesktopSettings {
  std::string geometry;  // GEOMETRY: the main window's saved geometry, as Qt saves it, in base64
  std::string docks;     // DOCKS: where the bars and dock windows are, as Qt saves it, in base64

  bool operator==(const DesktopSettings&) const = default;
};

DesktopSettings DesktopSettingsFromIni(const IniFile& ini);
// Writes a key only when it differs from its default or the file has it already, so that a
// file never touched by the desktop application gains no section.
void WriteDesktopSettingsToIni(const DesktopSettings& settings, IniFile& ini);

}  // namespace pelkor
