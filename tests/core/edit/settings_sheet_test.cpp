// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/settings_sheet.h"

#include <gtest/gtest.h>

#include <set>

namespace pelkor {
namespace {

TEST(SettingsSheetTest, ColourListNamesEveryColourOnceInListOrder) {
  std::vector<std::string_view> labels;
  for (const int number : kColourListNumbers)
    labels.push_back(ColourLabel(number));
  EXPECT_EQ(labels, (std::vector<std::string_view>{
                        "シフトレジスタ", "ステートマシン", "スイッチ", "カウンタ", "ウージ",
                        "ケムマキ", "アーク", "モジュール", "NEWモジュール", "背景", "グリッド"}));
  EXPECT_EQ(std::set<int>(kColourListNumbers.begin(), kColourListNumbers.end()).size(),
            kColourSettings.size());
  for (const int number : kColourListNumbers)
    EXPECT_TRUE(DefaultColours().contains(number)) << number;
}

TEST(SettingsSheetTest, ChannelsSplitAndJoinWithRedInTheLowByte) {
  EXPECT_EQ(SplitColour(14992639), (ColourChannels{255, 196, 228}));
  EXPECT_EQ(JoinChannels({50, 255, 125}), 8257330u);
  EXPECT_EQ(JoinChannels(SplitColour(0x00123456)), 0x00123456u);
}

TEST(SettingsSheetTest, NumberEditsAcceptOnlyWholeNumbersInRange) {
  struct Case {
    const char* text;
    NumberRange range;
    std::optional<int> value;
  };
  for (const Case& c :
       {Case{"0", kColourChannelRange, 0}, Case{"255", kColourChannelRange, 255},
        Case{" 17 ", kColourChannelRange, 17}, Case{"300", kColourChannelRange, {}},
        Case{"-1", kColourChannelRange, {}}, Case{"", kColourChannelRange, {}},
        Case{"12a", kColourChannelRange, {}}, Case{"1 2", kColourChannelRange, {}},
        Case{"+5", kColourChannelRange, {}}, Case{"100", kGridSizeRange, 100},
        Case{"101", kGridSizeRange, {}}, Case{"99999", kSpeedRange, 99999},
        Case{"100000", kSpeedRange, {}}, Case{"99999999999999999999", kSpeedRange, {}}}) {
    EXPECT_EQ(ParseNumberInRange(c.text, c.range), c.value) << c.text;
  }
}

TEST(SettingsSheetTest, RangeMessagesNameTheRange) {
  EXPECT_EQ(RangeMessage(kColourChannelRange), "0から255までの整数を入力してください");
  EXPECT_EQ(RangeMessage(kSpeedRange), "0から99999までの整数を入力してください");
}

TEST(SettingsSheetTest, GridSpinStepsWithinOneTo128) {
  EXPECT_EQ(StepGridSpin("40", 1), 41);
  EXPECT_EQ(StepGridSpin("1", -1), 1);
  EXPECT_EQ(StepGridSpin("128", 1), 128);
  EXPECT_EQ(StepGridSpin("0", 1), 2);  // the arrows never stand below 1
  EXPECT_EQ(StepGridSpin("500", -1), 127);
  EXPECT_EQ(StepGridSpin("", 1), 2);
}

TEST(SettingsSheetTest, DefaultsResetColoursGridAndFontButNotSpeedOrDirection) {
  Settings sheet;
  sheet.gridSize = 7;
  sheet.colours[12] = Rgb(1, 2, 3);
  sheet.font.faceName = "IPAPGothic";
  sheet.timer = 120;
  sheet.shiftLine = 2;
  RestoreSheetDefaults(sheet);
  Settings expected;
  expected.timer = 120;
  expected.shiftLine = 2;
  EXPECT_EQ(sheet, expected);
}

TEST(SettingsSheetTest, OkHandsBackEverythingButTheOutputWindow) {
  Settings sheet;
  sheet.gridSize = 20;
  sheet.colours[12] = Rgb(0, 0, 0);
  sheet.font.height = 20;
  sheet.timer = 5;
  sheet.shiftLine = 0;
  sheet.outputView = true;
  Settings view;
  view.outputView = false;
  ApplySheet(sheet, view);
  Settings expected = sheet;
  expected.outputView = false;
  EXPECT_EQ(view, expected);
}

}  // namespace
}  // namespace pelkor
