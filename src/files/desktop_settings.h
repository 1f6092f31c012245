// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "files/ini_file.h"

namespace pelkor {

// What the wheel does in the editor view: zoom in the original direction, zoom the other
// way, or scroll as drawing programs do (Shift sideways) and zoom with Ctrl.
enum class WheelHabit { kZoom = 0, kZoomReversed = 1, kScroll = 2 };

// The colour selected objects and arcs are drawn in, 0x00BBGGRR: a clear blue.
inline constexpr std::uint32_t kDefaultSelectionColour = 0xD77800;

// What the desktop application remembers beyond the Windows build's settings, in a section of
// its own ("DESKTOP") that the Windows build never reads.
struct DesktopSettings {
  std::string geometry;  // GEOMETRY: the main window's saved geometry, as Qt saves it, in base64
  std::string docks;     // DOCKS: where the bars and dock windows are, as Qt saves it, in base64
  WheelHabit wheel = WheelHabit::kZoom;  // WHEEL: 0, 1 or 2; anything else reads as 0
  bool gridSnap = false;                 // SNAP: 1 snaps placed and moved objects to the grid
  std::uint32_t selectionColour = kDefaultSelectionColour;  // SELCOLOR: 0x00BBGGRR in decimal

  bool operator==(const DesktopSettings&) const = default;
};

DesktopSettings DesktopSettingsFromIni(const IniFile& ini);
// Writes a key only when it differs from its default or the file has it already, so that a
// file never touched by the desktop application gains no section.
void WriteDesktopSettingsToIni(const DesktopSettings& settings, IniFile& ini);

}  // namespace pelkor
