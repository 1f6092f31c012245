// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/settings.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

namespace pelkor {

const std::array<ColourSetting, 11> kColourSettings = {{
    {"SRCOLOR", 2, Rgb(50, 255, 125), "シフトレジスタ"},
    {"SMCOLOR", 1, Rgb(50, 50, 255), "ステートマシン"},
    {"COCOLOR", 3, Rgb(255, 0, 0), "カウンタ"},
    {"UZCOLOR", 4, Rgb(255, 128, 0), "ウージ"},
    {"KMCOLOR", 5, Rgb(255, 50, 255), "ケムマキ"},
    {"ACCOLOR", 6, Rgb(50, 255, 125), "アーク"},
    {"BGCOLOR", 12, Rgb(255, 255, 255), "背景"},
    {"GDCOLOR", 13, Rgb(255, 196, 228), "グリッド"},
    {"MDCOLOR", 14, Rgb(255, 100, 100), "モジュール"},
    {"NEWMDCOLOR", 15, Rgb(0, 255, 0), "NEWモジュール"},
    {"SWITCHCOLOR", 16, Rgb(255, 0, 255), "スイッチ"},
}};

namespace {

constexpr std::string_view kView = "VIEW";
constexpr std::string_view kSim = "SIM";
constexpr std::string_view kFont = "FONT";
// The section and keys in which the Windows build's framework keeps its recent files.
constexpr std::string_view kRecentFiles = "Recent File List";

std::string RecentFileKey(std::size_t index) {
  return "File" + std::to_string(index + 1);
}

struct FontIntField {
  std::string_view key;
  std::int32_t LogFont::*field;
};
struct FontByteField {
  std::string_view key;
  std::uint8_t LogFont::*field;
};

// The FONT keys in file order: the integer fields, then the byte-sized ones.
constexpr FontIntField kFontIntFields[] = {
    {"Height", &LogFont::height},         {"Width", &LogFont::width},
    {"Escapement", &LogFont::escapement}, {"Orientation", &LogFont::orientation},
    {"Weight", &LogFont::weight},
};
constexpr FontByteField kFontByteFields[] = {
    {"Italic", &LogFont::italic},
    {"Underline", &LogFont::underline},
    {"StrikeOut", &LogFont::strikeOut},
    {"CharSet", &LogFont::charSet},
    {"OutPrecision", &LogFont::outPrecision},
    {"ClipPrecision", &LogFont::clipPrecision},
    {"Quality", &LogFont::quality},
    {"PitchAndFamily", &LogFont::pitchAndFamily},
};
constexpr std::string_view kFontNameKey = "FONTNAME";

// The value of a key as a decimal integer within [low, high]; nullopt when the key is
// missing or its value is anything else.
std::optional<std::int64_t> ReadInteger(const IniFile& ini, std::string_view section,
                                        std::string_view key, std::int64_t low, std::int64_t high) {
  const std::optional<std::string> text = ini.Get(section, key);
  if (!text || text->empty())
    return std::nullopt;
  std::string_view digits = *text;
  if (digits.front() == '+') {
    digits.remove_prefix(1);
    if (digits.empty() || digits.front() == '-')
      return std::nullopt;
  }
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size())
    return std::nullopt;
  if (value < low || value > high)
    return std::nullopt;
  return value;
}

int ReadInt(const IniFile& ini, std::string_view section, std::string_view key, int low, int high,
            int fallback) {
  return static_cast<int>(ReadInteger(ini, section, key, low, high).value_or(fallback));
}

int ReadInt32(const IniFile& ini, std::string_view section, std::string_view key, int fallback) {
  return ReadInt(ini, section, key, INT32_MIN, INT32_MAX, fallback);
}

}  // namespace

std::map<int, ColorRef> DefaultColours() {
  std::map<int, ColorRef> colours;
  for (const ColourSetting& colour : kColourSettings)
    colours[colour.number] = colour.defaultValue;
  return colours;
}

Settings SettingsFromIni(const IniFile& ini) {
  Settings s;
  s.timer = ReadInt(ini, kSim, "TIMER", 0, 99999, s.timer);
  s.outputView = ReadInt32(ini, kView, "OUTPUTVIEW", s.outputView ? 1 : 0) == 1;
  s.gridSize = ReadInt(ini, kView, "GREDDSIZE", 0, 100, s.gridSize);
  for (const ColourSetting& colour : kColourSettings) {
    s.colours[colour.number] = static_cast<ColorRef>(
        ReadInteger(ini, kView, colour.key, 0, UINT32_MAX).value_or(colour.defaultValue));
  }
  s.shiftLine = ReadInt(ini, kView, "SHIFTLINE", 0, 2, s.shiftLine);
  for (const FontIntField& f : kFontIntFields) {
    s.font.*f.field = ReadInt32(ini, kFont, f.key, s.font.*f.field);
  }
  for (const FontByteField& f : kFontByteFields) {
    s.font.*f.field = static_cast<std::uint8_t>(ReadInt32(ini, kFont, f.key, s.font.*f.field));
  }
  if (std::optional<std::string> name = ini.Get(kFont, kFontNameKey))
    s.font.faceName = *name;
  for (std::size_t i = 0; i < kMaxRecentFiles; ++i) {
    std::optional<std::string> file = ini.Get(kRecentFiles, RecentFileKey(i));
    if (file && !file->empty())
      s.recentFiles.push_back(std::move(*file));
  }
  return s;
}

void WriteSettingsToIni(const Settings& s, IniFile& ini) {
  ini.Set(kView, "GREDDSIZE", std::to_string(s.gridSize));
  for (const ColourSetting& colour : kColourSettings) {
    auto it = s.colours.find(colour.number);
    const ColorRef value = it == s.colours.end() ? colour.defaultValue : it->second;
    ini.Set(kView, colour.key, std::to_string(value));
  }
  ini.Set(kView, "SHIFTLINE", std::to_string(s.shiftLine));
  ini.Set(kView, "OUTPUTVIEW", s.outputView ? "1" : "0");
  ini.Set(kSim, "TIMER", std::to_string(s.timer));
  for (const FontIntField& f : kFontIntFields)
    ini.Set(kFont, f.key, std::to_string(s.font.*f.field));
  for (const FontByteField& f : kFontByteFields) {
    ini.Set(kFont, f.key, std::to_string(s.font.*f.field));
  }
  ini.Set(kFont, kFontNameKey, s.font.faceName);
  // Emptied slots are written empty, which reads as no file.
  for (std::size_t i = 0; i < kMaxRecentFiles; ++i) {
    const bool used = i < s.recentFiles.size();
    if (used || ini.Get(kRecentFiles, RecentFileKey(i)))
      ini.Set(kRecentFiles, RecentFileKey(i), used ? s.recentFiles[i] : "");
  }
}

Settings LoadSettings(const std::filesystem::path& path) {
  return SettingsFromIni(LoadIniFile(path));
}

SaveResult SaveSettings(const std::filesystem::path& path, const Settings& settings) {
  IniFile ini = LoadIniFile(path);
  WriteSettingsToIni(settings, ini);
  if (path.has_parent_path()) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
  }
  return SaveIniFile(path, ini);
}

}  // namespace pelkor
