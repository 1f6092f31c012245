// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/settings.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace pelkor {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

const std::filesystem::path kIniData = std::filesystem::path(PELKOR_TEST_DATA) / "ini";

TEST(SettingsTest, MissingFileGivesDefaultsAndSavingWritesEveryKeyInOrder) {
  TempFolder folder;
  const Settings loaded = LoadSettings(folder / "pelkor.ini");
  EXPECT_EQ(loaded, Settings{});
  EXPECT_EQ(loaded.colours.at(2), 8257330u);
  EXPECT_EQ(loaded.colours.size(), 11u);

  ASSERT_EQ(SaveSettings(folder / "pelkor.ini", loaded), SaveResult::kSaved);
  EXPECT_EQ(ReadBytes(folder / "pelkor.ini"),
            "[VIEW]\r\nGREDDSIZE=40\r\nSRCOLOR=8257330\r\nSMCOLOR=16724530\r\nCOCOLOR=255\r\n"
            "UZCOLOR=33023\r\nKMCOLOR=16724735\r\nACCOLOR=8257330\r\nBGCOLOR=16777215\r\n"
            "GDCOLOR=14992639\r\nMDCOLOR=6579455\r\nNEWMDCOLOR=65280\r\n"
            "SWITCHCOLOR=16711935\r\nSHIFTLINE=1\r\nOUTPUTVIEW=1\r\n"
            "[SIM]\r\nTIMER=50\r\n"
            "[FONT]\r\nHeight=15\r\nWidth=0\r\nEscapement=0\r\nOrientation=0\r\nWeight=700\r\n"
            "Italic=1\r\nUnderline=0\r\nStrikeOut=0\r\nCharSet=128\r\nOutPrecision=0\r\n"
            "ClipPrecision=0\r\nQuality=1\r\nPitchAndFamily=0\r\n"
            "FONTNAME=\x82l\x82r \x82o\x83S\x83V\x83"
            "b\x83N\r\n");
}

TEST(SettingsTest, WindowsWrittenFileReadsCorrectly) {
  std::vector<SettingNote> notes;
  const Settings s = LoadSettings(kIniData / "windows.ini", notes);
  EXPECT_TRUE(notes.empty());
  EXPECT_EQ(s.gridSize, 24);
  EXPECT_EQ(s.colours.at(2), 255u);       // SRCOLOR
  EXPECT_EQ(s.colours.at(1), 16711680u);  // SMCOLOR
  EXPECT_EQ(s.colours.at(6), 0u);         // ACCOLOR
  EXPECT_EQ(s.colours.at(13), 8421504u);  // GDCOLOR
  EXPECT_EQ(s.shiftLine, 2);
  EXPECT_FALSE(s.outputView);
  EXPECT_EQ(s.timer, 200);
  EXPECT_EQ(s.font.height, -16);
  EXPECT_EQ(s.font.weight, 400);
  EXPECT_EQ(s.font.italic, 0);
  EXPECT_EQ(s.font.outPrecision, 3);
  EXPECT_EQ(s.font.clipPrecision, 2);
  EXPECT_EQ(s.font.pitchAndFamily, 50);
  EXPECT_EQ(s.font.faceName, "ＭＳ 明朝");
}

// What a key of the settings file reads as, by what is written back for it.
struct ReadBack {
  std::string used;
  std::vector<SettingNote> notes;
};

ReadBack ReadKey(const std::string& section, const std::string& key, const std::string& value) {
  std::vector<SettingNote> notes;
  const Settings settings =
      SettingsFromIni(IniFile::Parse("[" + section + "]\n" + key + "=" + value + "\n"), notes);
  IniFile written;
  WriteSettingsToIni(settings, written);
  return {written.Get(section, key).value_or("(missing)"), notes};
}

struct KeyCase {
  std::string section;
  std::string key;
  std::string read;
  std::string used;  // empty: the value read is used, without a note
  SettingNote::Reason reason = SettingNote::Reason::kOutOfRange;
};

void ExpectRead(const KeyCase& c) {
  SCOPED_TRACE(c.section + "/" + c.key + "=" + c.read);
  const ReadBack back = ReadKey(c.section, c.key, c.read);
  if (c.used.empty()) {
    EXPECT_EQ(back.used, c.read);
    EXPECT_TRUE(back.notes.empty());
    return;
  }
  EXPECT_EQ(back.used, c.used);
  EXPECT_EQ(back.notes,
            (std::vector<SettingNote>{{c.section + "/" + c.key, c.read, c.used, c.reason}}));
}

// Every number of the file is brought into the range the settings dialog gives it: a value
// below or above is taken at the nearer end, one that is no number as the default, each with
// one note; a value in range is taken as it stands, without one.
TEST(SettingsTest, EveryNumberIsReadWithinItsRange) {
  struct Range {
    std::string section;
    std::string key;
    std::int64_t low;
    std::int64_t high;
    std::string byDefault;
  };
  std::vector<Range> ranges = {
      {"SIM", "TIMER", 0, 99999, "50"},          {"VIEW", "GREDDSIZE", 0, 100, "40"},
      {"VIEW", "SHIFTLINE", 0, 2, "1"},          {"FONT", "Escapement", -3600, 3600, "0"},
      {"FONT", "Orientation", -3600, 3600, "0"}, {"FONT", "Weight", 0, 1000, "700"},
      {"FONT", "Italic", 0, 255, "1"},           {"FONT", "Underline", 0, 255, "0"},
      {"FONT", "StrikeOut", 0, 255, "0"},        {"FONT", "CharSet", 0, 255, "128"},
      {"FONT", "OutPrecision", 0, 255, "0"},     {"FONT", "ClipPrecision", 0, 255, "0"},
      {"FONT", "Quality", 0, 255, "1"},          {"FONT", "PitchAndFamily", 0, 255, "0"},
  };
  for (const ColourSetting& colour : kColourSettings)
    ranges.push_back(
        {"VIEW", std::string(colour.key), 0, 16777215, std::to_string(colour.defaultValue)});

  using Reason = SettingNote::Reason;
  for (const Range& r : ranges) {
    const std::string low = std::to_string(r.low);
    const std::string high = std::to_string(r.high);
    for (const KeyCase& c : {
             KeyCase{r.section, r.key, std::to_string(r.low - 1), low},
             KeyCase{r.section, r.key, low, ""},
             KeyCase{r.section, r.key, high, ""},
             KeyCase{r.section, r.key, std::to_string(r.high + 1), high},
             KeyCase{r.section, r.key, "2147483648", high},
             KeyCase{r.section, r.key, "-2147483649", low},
             KeyCase{r.section, r.key, "99999999999999999999", high},
             KeyCase{r.section, r.key, "-99999999999999999999", low},
             KeyCase{r.section, r.key, "12x", r.byDefault, Reason::kNotANumber},
             KeyCase{r.section, r.key, "0x10", r.byDefault, Reason::kNotANumber},
             KeyCase{r.section, r.key, "+-5", r.byDefault, Reason::kNotANumber},
             KeyCase{r.section, r.key, "", r.byDefault, Reason::kNotANumber},
         }) {
      ExpectRead(c);
    }
  }
}

// The font's height and width keep their sign (a negative height is a character height) and
// take the sizes the font dialog offers, 0 asking for the default; only OUTPUTVIEW 1 shows the
// log window.
TEST(SettingsTest, FontSizesAndTheOutputWindowReadWithinTheirValues) {
  using Reason = SettingNote::Reason;
  for (const char* key : {"Height", "Width"}) {
    for (const KeyCase& c : {
             KeyCase{"FONT", key, "0", ""},
             KeyCase{"FONT", key, "8", ""},
             KeyCase{"FONT", key, "96", ""},
             KeyCase{"FONT", key, "-8", ""},
             KeyCase{"FONT", key, "-96", ""},
             KeyCase{"FONT", key, "1", "8"},
             KeyCase{"FONT", key, "-7", "-8"},
             KeyCase{"FONT", key, "97", "96"},
             KeyCase{"FONT", key, "999999", "96"},
             KeyCase{"FONT", key, "2147483647", "96"},
             KeyCase{"FONT", key, "-2147483648", "-96"},
             KeyCase{"FONT", key, "-9223372036854775808", "-96"},
             KeyCase{"FONT", key, "big", std::string(key) == "Height" ? "15" : "0",
                     Reason::kNotANumber},
         }) {
      ExpectRead(c);
    }
  }
  for (const KeyCase& c : {
           KeyCase{"VIEW", "OUTPUTVIEW", "0", ""},
           KeyCase{"VIEW", "OUTPUTVIEW", "1", ""},
           KeyCase{"VIEW", "OUTPUTVIEW", "2", "0"},
           KeyCase{"VIEW", "OUTPUTVIEW", "-1", "0"},
           KeyCase{"VIEW", "OUTPUTVIEW", "yes", "1", Reason::kNotANumber},
       }) {
    ExpectRead(c);
  }
}

TEST(SettingsTest, AFaceNameIsCutWhereItsFieldEnds) {
  // The field holds 31 bytes of CP932: two bytes for each of these characters.
  const std::string fifteen = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯ";
  const std::string sixteen = fifteen + "Ｐ";
  for (const KeyCase& c : {
           KeyCase{"FONT", "FONTNAME", fifteen, ""},
           KeyCase{"FONT", "FONTNAME", fifteen + "x", ""},
           KeyCase{"FONT", "FONTNAME", sixteen, fifteen, SettingNote::Reason::kTooLong},
           KeyCase{"FONT", "FONTNAME", std::string(40, 'a'), std::string(31, 'a'),
                   SettingNote::Reason::kTooLong},
       }) {
    ExpectRead(c);
  }
  EXPECT_EQ(CutFaceName("ＭＳ Ｐゴシック"), "ＭＳ Ｐゴシック");
}

TEST(SettingsTest, ANoteSaysTheKeyTheValueReadAndTheValueUsed) {
  EXPECT_EQ(SettingNoteMessage({"FONT/Height", "999999", "96", SettingNote::Reason::kOutOfRange}),
            "設定FONT/Heightの値「999999」は範囲外なので「96」にしました");
  EXPECT_EQ(SettingNoteMessage({"VIEW/GREDDSIZE", "abc", "40", SettingNote::Reason::kNotANumber}),
            "設定VIEW/GREDDSIZEの値「abc」は数値でないので「40」にしました");
  EXPECT_EQ(SettingNoteMessage({"FONT/FONTNAME", "ＡＢ", "Ａ", SettingNote::Reason::kTooLong}),
            "設定FONT/FONTNAMEの値「ＡＢ」は長すぎるので「Ａ」にしました");
}

// A whole file: names in any case, blanks and quotes around values, the first of repeated
// keys, and the notes in reading order.
TEST(SettingsTest, AHandEditedFileIsReadWithNotesInReadingOrder) {
  std::vector<SettingNote> notes;
  const Settings s = LoadSettings(kIniData / "malformed.ini", notes);
  EXPECT_EQ(s.colours.at(13), 8421504u);  // other case, blanks and quotes are fine
  EXPECT_EQ(s.font.pitchAndFamily, 34);
  EXPECT_EQ(s.font.faceName, "No Such Font");
  std::vector<std::string> keys;
  for (const SettingNote& note : notes)
    keys.push_back(note.key);
  EXPECT_EQ(keys, (std::vector<std::string>{"SIM/TIMER", "VIEW/OUTPUTVIEW", "VIEW/GREDDSIZE",
                                            "VIEW/SRCOLOR", "VIEW/SMCOLOR", "VIEW/COCOLOR",
                                            "VIEW/SHIFTLINE", "FONT/Height", "FONT/Weight",
                                            "FONT/Italic", "FONT/CharSet", "FONT/Quality"}));
}

TEST(SettingsTest, OnlyOutputViewOneCountsAsShown) {
  for (const auto& [value, shown] :
       {std::pair{"1", true}, std::pair{"0", false}, std::pair{"2", false}}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(
        SettingsFromIni(IniFile::Parse(std::string("[VIEW]\nOUTPUTVIEW=") + value)).outputView,
        shown);
  }
}

TEST(SettingsTest, ChangedSettingsSurviveSaveAndLoadAndOtherContentStays) {
  TempFolder folder;
  const std::filesystem::path path = folder / "pelkor.ini";
  WriteBytes(path, "; user notes\r\n[VIEW]\r\nGREDDSIZE=10\r\nEXTRA=kept\r\n");
  Settings s;
  s.gridSize = 0;
  s.colours[12] = Rgb(1, 2, 3);
  s.shiftLine = 0;
  s.outputView = false;
  s.timer = 99999;
  s.font.height = -12;
  s.font.underline = 1;
  s.font.faceName = "Noto Sans CJK JP";
  ASSERT_EQ(SaveSettings(path, s), SaveResult::kSaved);
  EXPECT_EQ(LoadSettings(path), s);
  const IniFile ini = LoadIniFile(path);
  EXPECT_EQ(ini.Get("VIEW", "EXTRA"), "kept");
  EXPECT_EQ(ini.Get("VIEW", "BGCOLOR"), "197121");
  EXPECT_TRUE(
      ReadBytes(path).starts_with("; user notes\r\n[VIEW]\r\nGREDDSIZE=0\r\nEXTRA=kept\r\n"));
}

TEST(SettingsTest, TheDesktopLayoutHasASectionOfItsOwnWrittenOnceUsed) {
  TempFolder folder;
  const std::filesystem::path path = folder / "pelkor.ini";
  Settings s;
  s.desktop.geometry = "AdnQywADAAA=";
  s.desktop.docks = "AAAA/wAAAAD9";
  s.desktop.selectionColour = Rgb(1, 2, 3);
  ASSERT_EQ(SaveSettings(path, s), SaveResult::kSaved);
  EXPECT_EQ(LoadSettings(path), s);
  EXPECT_EQ(LoadIniFile(path).Get("DESKTOP", "DOCKS"), "AAAA/wAAAAD9");
  // Forgotten again, the keys stay and read as nothing saved.
  ASSERT_EQ(SaveSettings(path, Settings{}), SaveResult::kSaved);
  EXPECT_EQ(LoadIniFile(path).Get("DESKTOP", "GEOMETRY"), "");
  EXPECT_EQ(LoadSettings(path), Settings{});
}

TEST(SettingsTest, ASelectionColourThatIsNoColourReadsAsTheDefault) {
  const struct {
    const char* text;
    ColorRef read;
  } cases[] = {{"197121", Rgb(1, 2, 3)},
               {"16777215", Rgb(255, 255, 255)},
               {"16777216", kDefaultSelectionColour},
               {"-1", kDefaultSelectionColour},
               {"12ab", kDefaultSelectionColour},
               {"", kDefaultSelectionColour}};
  for (const auto& c : cases) {
    const IniFile ini = IniFile::Parse(std::string("[DESKTOP]\nSELCOLOR=") + c.text);
    EXPECT_EQ(SettingsFromIni(ini).desktop.selectionColour, c.read) << c.text;
  }
}

// The memory kept for going back in a simulation, in megabytes: a section of its own, written
// only once the value differs from the default or the file has it.
TEST(SettingsTest, TheRewindMemoryIsReadWithinItsRangeAndWrittenOnceChanged) {
  for (const KeyCase& c :
       {KeyCase{"DEBUG", "REWINDMEMORY", "512", ""}, KeyCase{"DEBUG", "REWINDMEMORY", "0", "1"},
        KeyCase{"DEBUG", "REWINDMEMORY", "2000000", "1048576"}}) {
    ExpectRead(c);
  }
  IniFile ini;
  WriteSettingsToIni(Settings(), ini);
  EXPECT_FALSE(ini.Get("DEBUG", "REWINDMEMORY"));
}

TEST(SettingsTest, SavingCreatesTheSettingsFolder) {
  TempFolder folder;
  const std::filesystem::path path = folder / "config" / "pelkor" / "pelkor.ini";
  ASSERT_EQ(SaveSettings(path, Settings{}), SaveResult::kSaved);
  EXPECT_EQ(LoadSettings(path), Settings{});
}

}  // namespace
}  // namespace pelkor

namespace pelkor {
namespace {

TEST(RecentFilesTest, TheLatestComesFirstOnceAndFourAreKept) {
  std::vector<std::string> files;
  for (const char* path : {"/a.dtn", "/b.dtn", "/c.dtn", "/a.dtn", "/d.dtn", "/e.dtn"})
    AddRecentFile(files, path);
  EXPECT_EQ(files, (std::vector<std::string>{"/e.dtn", "/d.dtn", "/a.dtn", "/c.dtn"}));
  RemoveRecentFile(files, "/a.dtn");
  EXPECT_EQ(files, (std::vector<std::string>{"/e.dtn", "/d.dtn", "/c.dtn"}));
}

TEST(RecentFilesTest, KeptInTheFrameworksSectionAndAShorterListEmptiesTheRest) {
  IniFile ini = IniFile::Parse("[Recent File List]\nFile1=C:\\old\\x.dtn\nFile2=\nFile3=/y.dtn\n");
  Settings settings = SettingsFromIni(ini);
  EXPECT_EQ(settings.recentFiles, (std::vector<std::string>{"C:\\old\\x.dtn", "/y.dtn"}));

  settings.recentFiles = {"/設計/新.dtn"};
  WriteSettingsToIni(settings, ini);
  EXPECT_EQ(ini.Get("Recent File List", "File1"), "/設計/新.dtn");
  EXPECT_EQ(ini.Get("Recent File List", "File3"), "");
  EXPECT_EQ(SettingsFromIni(ini).recentFiles, settings.recentFiles);
}

}  // namespace
}  // namespace pelkor
