// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/settings.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

#include "files/text_encoding.h"

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
constexpr std::string_view kDebug = "DEBUG";
constexpr std::string_view kRewindMemory = "REWINDMEMORY";
// The section and keys in which the Windows build's framework keeps its recent files.
constexpr std::string_view kRecentFiles = "Recent File List";

std::string RecentFileKey(std::size_t index) {
  return "File" + std::to_string(index + 1);
}

// How a number read is brought into the values its key may take.
using Within = std::int64_t (*)(std::int64_t);

template <NumberRange range>
std::int64_t Between(std::int64_t value) {
  return std::clamp<std::int64_t>(value, range.low, range.high);
}

std::int64_t FontSize(std::int64_t value) {
  return FontSizeWithinRange(value);
}

// Only 1 counts as shown.
std::int64_t OutputShown(std::int64_t value) {
  return value == 1 ? 1 : 0;
}

std::int64_t ColourValue(std::int64_t value) {
  return std::clamp<std::int64_t>(value, 0, 0xFFFFFF);  // 24 bits: blue, green, red
}

constexpr NumberRange kByteRange{0, 255};
constexpr NumberRange kShiftLineRange{0, 2};

struct FontIntField {
  std::string_view key;
  std::int32_t LogFont::*field;
  Within within;
};
struct FontByteField {
  std::string_view key;
  std::uint8_t LogFont::*field;
};

// The FONT keys in file order: the integer fields, then the byte-sized ones.
constexpr FontIntField kFontIntFields[] = {
    {"Height", &LogFont::height, FontSize},
    {"Width", &LogFont::width, FontSize},
    {"Escapement", &LogFont::escapement, Between<kFontAngleRange>},
    {"Orientation", &LogFont::orientation, Between<kFontAngleRange>},
    {"Weight", &LogFont::weight, Between<kFontWeightRange>},
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

// How a note names a key.
std::string KeyName(std::string_view section, std::string_view key) {
  return std::string(section) + "/" + std::string(key);
}

// A decimal integer, saturated to 64 bits; nullopt for anything else.
std::optional<std::int64_t> ParseInteger(std::string_view text) {
  if (text.starts_with('+')) {
    text.remove_prefix(1);
    if (text.starts_with('-'))
      return std::nullopt;
  }
  if (text.empty())
    return std::nullopt;
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (end != text.data() + text.size())
    return std::nullopt;
  if (error == std::errc::result_out_of_range)
    return text.starts_with('-') ? INT64_MIN : INT64_MAX;
  if (error != std::errc())
    return std::nullopt;
  return value;
}

// Reads numbers from the settings file, noting each value taken as another one.
class NumberReader {
 public:
  NumberReader(const IniFile& ini, std::vector<SettingNote>& notes) : ini_(ini), notes_(notes) {}

  // The key's value as `within` takes it; `fallback` when the key is missing or its value is
  // no number.
  std::int64_t Read(std::string_view section, std::string_view key, std::int64_t fallback,
                    Within within) {
    const std::optional<std::string> text = ini_.Get(section, key);
    if (!text)
      return fallback;
    const std::optional<std::int64_t> value = ParseInteger(*text);
    const std::int64_t used = value ? within(*value) : fallback;
    if (!value || used != *value) {
      notes_.push_back(
          {KeyName(section, key), *text, std::to_string(used),
           value ? SettingNote::Reason::kOutOfRange : SettingNote::Reason::kNotANumber});
    }
    return used;
  }

 private:
  const IniFile& ini_;
  std::vector<SettingNote>& notes_;
};

// The length of the UTF-8 character that starts with `lead`.
std::size_t CharacterLength(unsigned char lead) {
  if (lead < 0xC0)
    return 1;
  if (lead < 0xE0)
    return 2;
  return lead < 0xF0 ? 3 : 4;
}

}  // namespace

std::map<int, ColorRef> DefaultColours() {
  std::map<int, ColorRef> colours;
  for (const ColourSetting& colour : kColourSettings)
    colours[colour.number] = colour.defaultValue;
  return colours;
}

std::int32_t FontSizeWithinRange(std::int64_t size) {
  if (size == 0)
    return 0;
  // Negated only once within 32 bits, where it cannot overflow.
  const std::int64_t magnitude =
      std::clamp<std::int64_t>(size < 0 ? -std::max<std::int64_t>(size, INT32_MIN) : size,
                               kFontSizeRange.low, kFontSizeRange.high);
  return static_cast<std::int32_t>(size < 0 ? -magnitude : magnitude);
}

std::string CutFaceName(std::string_view name) {
  std::size_t end = 0;
  std::size_t fieldBytes = 0;
  while (end < name.size()) {
    const std::string_view character =
        name.substr(end, CharacterLength(static_cast<unsigned char>(name[end])));
    // A character without a CP932 form takes its UTF-8 bytes.
    fieldBytes += Utf8ToCp932(character).value_or(std::string(character)).size();
    if (fieldBytes > kFaceNameBytes)
      break;
    end += character.size();
  }
  return std::string(name.substr(0, end));
}

std::string SettingNoteMessage(const SettingNote& note) {
  const char* reason = note.reason == SettingNote::Reason::kOutOfRange   ? "範囲外な"
                       : note.reason == SettingNote::Reason::kNotANumber ? "数値でない"
                                                                         : "長すぎる";
  return "設定" + note.key + "の値「" + note.read + "」は" + reason + "ので「" + note.used +
         "」にしました";
}

Settings SettingsFromIni(const IniFile& ini, std::vector<SettingNote>& notes) {
  Settings s;
  NumberReader numbers(ini, notes);
  s.timer = static_cast<int>(numbers.Read(kSim, "TIMER", s.timer, Between<kSpeedRange>));
  s.outputView = numbers.Read(kView, "OUTPUTVIEW", s.outputView ? 1 : 0, OutputShown) == 1;
  s.gridSize =
      static_cast<int>(numbers.Read(kView, "GREDDSIZE", s.gridSize, Between<kGridSizeRange>));
  for (const ColourSetting& colour : kColourSettings) {
    s.colours[colour.number] =
        static_cast<ColorRef>(numbers.Read(kView, colour.key, colour.defaultValue, ColourValue));
  }
  s.shiftLine =
      static_cast<int>(numbers.Read(kView, "SHIFTLINE", s.shiftLine, Between<kShiftLineRange>));
  for (const FontIntField& f : kFontIntFields) {
    s.font.*f.field =
        static_cast<std::int32_t>(numbers.Read(kFont, f.key, s.font.*f.field, f.within));
  }
  for (const FontByteField& f : kFontByteFields) {
    s.font.*f.field =
        static_cast<std::uint8_t>(numbers.Read(kFont, f.key, s.font.*f.field, Between<kByteRange>));
  }
  if (std::optional<std::string> name = ini.Get(kFont, kFontNameKey)) {
    s.font.faceName = CutFaceName(*name);
    if (s.font.faceName != *name) {
      notes.push_back(
          {KeyName(kFont, kFontNameKey), *name, s.font.faceName, SettingNote::Reason::kTooLong});
    }
  }
  for (std::size_t i = 0; i < kMaxRecentFiles; ++i) {
    std::optional<std::string> file = ini.Get(kRecentFiles, RecentFileKey(i));
    if (file && !file->empty())
      s.recentFiles.push_back(std::move(*file));
  }
  s.desktop = DesktopSettingsFromIni(ini);
  s.rewindMemory = static_cast<int>(
      numbers.Read(kDebug, kRewindMemory, s.rewindMemory, Between<kRewindMemoryRange>));
  return s;
}

Settings SettingsFromIni(const IniFile& ini) {
  std::vector<SettingNote> notes;
  return SettingsFromIni(ini, notes);
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
  WriteDesktopSettingsToIni(s.desktop, ini);
  // A file that never had it gains no section of it.
  if (s.rewindMemory != Settings().rewindMemory || ini.Get(kDebug, kRewindMemory))
    ini.Set(kDebug, kRewindMemory, std::to_string(s.rewindMemory));
}

Settings LoadSettings(const std::filesystem::path& path, std::vector<SettingNote>& notes) {
  return SettingsFromIni(LoadIniFile(path), notes);
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
