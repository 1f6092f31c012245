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
  // Out of range is held at the end, never wrapped (300 would be 44).
  EXPECT_EQ(JoinChannels({300, -5, 256}), Rgb(255, 0, 255));
}

// The font dialog shows the sheet's font as best it can (another face where this system lacks
// it, whole points); only what the user changed there reaches the sheet.
TEST(SettingsSheetTest, TheFontDialogChangesOnlyWhatWasChangedInIt) {
  LogFont sheetFont;  // "ＭＳ Ｐゴシック", 15 pixels, bold italic
  sheetFont.underline = 1;
  const FontChoice shown{"Sans Serif", 11, 400, false, true, false};
  struct Case {
    const char* what;
    FontChoice chosen;
    LogFont expected;
  };
  const auto with = [&](auto change) {
    LogFont font = sheetFont;
    change(font);
    return font;
  };
  const Case cases[] = {
      {"nothing changed", shown, sheetFont},
      {"size", {"Sans Serif", 12, 400, false, true, false}, with([](LogFont& f) {
         f.height = 16;
       })},
      {"face", {"IPAGothic", 11, 400, false, true, false}, with([](LogFont& f) {
         f.faceName = "IPAGothic";
       })},
      {"weight", {"Sans Serif", 11, 300, false, true, false}, with([](LogFont& f) {
         f.weight = 300;
       })},
      {"italic and underline", {"Sans Serif", 11, 400, true, false, false}, with([](LogFont& f) {
         f.underline = 0;
       })},
      {"strike-out", {"Sans Serif", 11, 400, false, true, true}, with([](LogFont& f) {
         f.strikeOut = 1;
       })},
      {"size beyond the range", {"Sans Serif", 200, 400, false, true, false}, with([](LogFont& f) {
         f.height = kFontSizeRange.high;
       })},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChosenFont(sheetFont, shown, c.chosen), c.expected) << c.what;

  LogFont characterHeight;
  characterHeight.height = -15;
  EXPECT_EQ(ChosenFont(characterHeight, shown, {"Sans Serif", 9, 400, false, true, false}).height,
            -12);
  EXPECT_DOUBLE_EQ(PointsOfHeight(-16), 12.0);
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
