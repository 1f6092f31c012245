// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ini_file.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace pelkor {
namespace {

TEST(IniFileTest, GetFollowsThePrivateProfileRules) {
  const IniFile ini = IniFile::Parse(
      "top=ignored\r\n"
      "; comment=not a key\r\n"
      "[View]\r\n"
      "  GridSize =  40  \r\n"
      "gridsize=second\r\n"
      "Quoted=\"ＭＳ 明朝\"\r\n"
      "Empty=\r\n"
      "NoEquals\r\n"
      "[ Sim ]\r\n"
      "Timer=50");
  EXPECT_EQ(ini.Get("VIEW", "GRIDSIZE"), "40");
  EXPECT_EQ(ini.Get("view", "quoted"), "ＭＳ 明朝");
  EXPECT_EQ(ini.Get("View", "Empty"), "");
  EXPECT_EQ(ini.Get("SIM", "Timer"), "50");
  EXPECT_FALSE(ini.Get("View", "NoEquals"));
  EXPECT_FALSE(ini.Get("View", "; comment"));
  EXPECT_FALSE(ini.Get("", "top"));
  EXPECT_FALSE(ini.Get("Font", "Height"));
}

TEST(IniFileTest, SetChangesOnlyWhatItSets) {
  IniFile ini = IniFile::Parse("; keep me\n[A]\nx=1\ny = 2\n\n[B]\nz=3\n");
  ini.Set("a", "Y", "20");
  ini.Set("A", "w", "new");
  ini.Set("C", "k", "v");
  EXPECT_EQ(ini.Serialize(), "; keep me\n[A]\nx=1\nY=20\nw=new\n\n[B]\nz=3\n[C]\nk=v\n");
  EXPECT_EQ(ini.Get("A", "y"), "20");
}

TEST(IniFileTest, EmptyFileGrowsSectionsInOrder) {
  IniFile ini;
  ini.Set("VIEW", "a", "1");
  ini.Set("SIM", "b", "2");
  ini.Set("VIEW", "c", "3");
  EXPECT_EQ(ini.Serialize(), "[VIEW]\na=1\nc=3\n[SIM]\nb=2\n");
}

TEST(IniFileTest, FilesAreWrittenWithCrLfInCp932) {
  testing::TempFolder folder;
  IniFile ini;
  ini.Set("FONT", "FONTNAME", "ＭＳ 明朝");
  ASSERT_EQ(SaveIniFile(folder / "x.ini", ini), SaveResult::kSaved);
  EXPECT_EQ(testing::ReadBytes(folder / "x.ini"),
            "[FONT]\r\nFONTNAME=\x82l\x82r \x96\xbe\x92\xa9\r\n");
  EXPECT_EQ(LoadIniFile(folder / "x.ini").Get("FONT", "FONTNAME"), "ＭＳ 明朝");
  EXPECT_FALSE(LoadIniFile(folder / "missing.ini").Get("FONT", "FONTNAME"));
}

}  // namespace
}  // namespace pelkor
