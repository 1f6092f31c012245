// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "files/desktop_settings.h"
#include "files/ini_file.h"
#include "files/recent_files.h"
#include "files/safe_write.h"

namespace pelkor {

// A colour with red in the low byte, then green, then blue (0x00BBGGRR).
using ColorRef = std::uint32_t;

constexpr ColorRef Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return red | (green << 8) | (static_cast<ColorRef>(blue) << 16);
}

// One colour of the settings file: its key in section "VIEW", the colour number under which
// the view keeps it, its default and the name the settings dialog shows.
struct ColourSetting {
  std::string_view key;
  int number;
  ColorRef defaultValue;
  std::string_view label;
};

// The eleven colours, in the order in which they are read and written.
extern const std::array<ColourSetting, 11> kColourSettings;

// The drawing font, as the fields of a Windows LOGFONT.
struct LogFont {
  std::int32_t height = 15;
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 700;
  std::uint8_t italic = 1;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 128;  // Shift-JIS
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 1;
  std::uint8_t pitchAndFamily = 0;
  std::string faceName = "ＭＳ Ｐゴシック";  // kept even when no such font is installed

  bool operator==(const LogFont&) const = default;
};

// The values a number of the settings may take, both ends included.
struct NumberRange {
  int low = 0;
  int high = 0;
};
// What the settings dialog accepts.
constexpr NumberRange kGridSizeRange{0, 100};
constexpr NumberRange kSpeedRange{0, 99999};
// Megabytes the moments a simulation can go back to may hold.
constexpr NumberRange kRewindMemoryRange{1, 1 << 20};
// The sizes the font dialog offers, 6 to 72 points, in pixels at 96 per inch. A font height
// or width of 0 asks for the default, and a negative height is a character height of that
// size, so either sign is kept.
constexpr NumberRange kFontSizeRange{8, 96};
constexpr NumberRange kFontWeightRange{0, 1000};     // 0 asks for normal
constexpr NumberRange kFontAngleRange{-3600, 3600};  // tenths of a degree
// The bytes of the face name in CP932, the rest of its 32-byte field being the closing NUL.
constexpr std::size_t kFaceNameBytes = 31;

// A font height or width brought into kFontSizeRange, keeping its sign; 0 stays 0.
std::int32_t FontSizeWithinRange(std::int64_t size);
// The longest start of a face name, in whole characters, that fits its field.
std::string CutFaceName(std::string_view name);

// The colour table: colour number -> colour, every number of kColourSettings at its default.
std::map<int, ColorRef> DefaultColours();

// Every user setting of the editor, as kept in "pelkor.ini".
struct Settings {
  int gridSize = 40;                                   // VIEW/GREDDSIZE, 0 to 100
  std::map<int, ColorRef> colours = DefaultColours();  // by colour number
  int shiftLine = 1;                     // VIEW/SHIFTLINE: 0 fixed left, 1 automatic, 2 fixed right
  bool outputView = true;                // VIEW/OUTPUTVIEW: the output log window is shown
  int timer = 50;                        // SIM/TIMER: animation period in milliseconds, 0 to 99999
  LogFont font;                          // section FONT
  std::vector<std::string> recentFiles;  // "Recent File List": File1 (the latest) to File4
  DesktopSettings desktop;               // section DESKTOP
  int rewindMemory = 256;                // DEBUG/REWINDMEMORY: megabytes, written once changed

  bool operator==(const Settings&) const = default;
};

// A value of the settings file taken as another one.
struct SettingNote {
  enum class Reason { kOutOfRange, kNotANumber, kTooLong };

  std::string key;   // "SECTION/KEY"
  std::string read;  // as the file holds it
  std::string used;  // what is taken, and written back, instead
  Reason reason = Reason::kOutOfRange;

  bool operator==(const SettingNote&) const = default;
};

// The output-log line that tells of a value taken as another one.
std::string SettingNoteMessage(const SettingNote& note);

// The settings held in an ini file. A missing key gives the default, and so does a value that
// is no decimal integer; a number is brought into the range the settings dialog gives it
// (colours to 24 bits, the byte-sized font fields to a byte, SHIFTLINE to 0 to 2, and only
// OUTPUTVIEW 1 counts as shown); a face name is cut where its field ends. Each value taken as
// another one adds a note, in reading order.
Settings SettingsFromIni(const IniFile& ini, std::vector<SettingNote>& notes);
Settings SettingsFromIni(const IniFile& ini);
// Sets every key of the settings in the ini file, in the order the editor writes them.
void WriteSettingsToIni(const Settings& settings, IniFile& ini);

// Reads the settings file at `path`; a missing or unreadable file gives every default. The
// notes are kept for the output log, which may not exist yet when the settings are read.
Settings LoadSettings(const std::filesystem::path& path, std::vector<SettingNote>& notes);
Settings LoadSettings(const std::filesystem::path& path);
// Writes every key into the settings file at `path`, keeping what else the file holds and
// creating its folder when needed.
SaveResult SaveSettings(const std::filesystem::path& path, const Settings& settings);

}  // namespace pelkor
