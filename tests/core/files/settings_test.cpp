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
  const Settings s = LoadSettings(kIniData / "windows.ini");
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

TEST(SettingsTest, MalformedValuesGiveDefaultsAndBytesKeepTheLowByte) {
  const Settings s = LoadSettings(kIniData / "malformed.ini");
  const Settings defaults;
  EXPECT_EQ(s.gridSize, defaults.gridSize);
  EXPECT_EQ(s.colours.at(2), defaults.colours.at(2));  // -1
  EXPECT_EQ(s.colours.at(1), defaults.colours.at(1));  // beyond 32 bits
  EXPECT_EQ(s.colours.at(3), defaults.colours.at(3));  // 12x
  EXPECT_EQ(s.colours.at(13), 8421504u);               // other case, blanks and quotes are fine
  EXPECT_EQ(s.shiftLine, defaults.shiftLine);
  EXPECT_TRUE(s.outputView);
  EXPECT_EQ(s.timer, defaults.timer);
  EXPECT_EQ(s.font.height, defaults.font.height);
  EXPECT_EQ(s.font.weight, defaults.font.weight);
  EXPECT_EQ(s.font.italic, 0);     // 256
  EXPECT_EQ(s.font.charSet, 255);  // -1
  EXPECT_EQ(s.font.quality, defaults.font.quality);
  EXPECT_EQ(s.font.pitchAndFamily, 34);
  EXPECT_EQ(s.font.faceName, "No Such Font");
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
