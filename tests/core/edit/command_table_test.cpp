// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/command_table.h"

#include <set>

#include <gtest/gtest.h>

#include "edit/tool.h"

namespace pelkor {
namespace {

TEST(CommandTableTest, EveryMenuAndToolbarItemHasOneEntry) {
  std::set<CommandId> ids;
  for (const CommandInfo& info : Commands()) {
    EXPECT_TRUE(ids.insert(info.id).second) << static_cast<int>(info.id) << " listed twice";
    EXPECT_FALSE(info.menuText.empty());
    EXPECT_FALSE(info.statusText.empty());
  }
  for (const MenuInfo& menu : MainMenu()) {
    for (const auto& item : menu.items) {
      if (item) {
        EXPECT_TRUE(ids.contains(*item)) << menu.title;
      }
    }
  }
  for (const auto& button : MainToolBar()) {
    if (!button)
      continue;
    const CommandInfo& info = CommandInfoOf(*button);
    EXPECT_FALSE(info.icon.empty()) << info.menuText;
    EXPECT_FALSE(info.toolTip.empty()) << info.menuText;
  }
}

TEST(CommandTableTest, ToolbarGroupsFollowTheOriginalButtons) {
  std::vector<std::vector<CommandId>> groups(1);
  for (const auto& button : MainToolBar()) {
    if (button) {
      groups.back().push_back(*button);
    } else {
      groups.emplace_back();
    }
  }
  using C = CommandId;
  EXPECT_EQ(groups, (std::vector<std::vector<CommandId>>{
                        {C::kNew, C::kOpen, C::kSave},
                        {C::kShiftRegisterTool, C::kStateMachineTool, C::kCounterTool,
                         C::kSourceTool, C::kSinkTool, C::kArcTool, C::kModuleTool},
                        {C::kMoveTool, C::kEraserTool},
                        {C::kOutputDialog, C::kZoomIn, C::kZoomOut, C::kUpperModule},
                        {C::kCheck, C::kRun, C::kRunWithoutAnimation, C::kStep, C::kStepBack,
                         C::kPause, C::kStop},
                        {C::kPrint, C::kAbout}}));
}

TEST(CommandTableTest, ToolsAreCheckableAndChooseTheirTool) {
  for (const CommandInfo& info : Commands()) {
    if (ToolOfCommand(info.id)) {
      EXPECT_TRUE(info.checkable) << info.menuText;
    }
  }
  EXPECT_EQ(ToolOfCommand(CommandId::kSourceTool), Tool::kSource);
  EXPECT_EQ(KindPlacedBy(Tool::kModule), kInstanceKind);
  EXPECT_EQ(KindPlacedBy(Tool::kArc), kNoKind);
}

TEST(CommandTableTest, AMenuLabelLeavesTheKeyToTheShortcutAndKeepsTheMnemonic) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"新規作成\tCtrl+N(&N)", "新規作成(&N)"},
      {"開く...\tCtrl+O(&O)", "開く...(&O)"},
      {"すべて選択\tCtrl+A", "すべて選択"},
      {"名前を付けて保存(&A)...", "名前を付けて保存(&A)..."},
      {"削除", "削除"},
  };
  for (const auto& [text, label] : cases)
    EXPECT_EQ(MenuLabel(text), label) << text;
  for (const CommandInfo& info : Commands())
    EXPECT_EQ(MenuLabel(info.menuText).find('\t'), std::string::npos) << info.menuText;
}

// Plain keys act only in the view; keys with a modifier and function keys anywhere.
TEST(CommandTableTest, PlainKeysActOnlyInTheView) {
  using C = CommandId;
  const std::pair<CommandId, bool> cases[] = {
      {C::kShiftRegisterTool, true},
      {C::kArcTool, true},
      {C::kDelete, true},
      {C::kCheck, false},
      {C::kStop, false},
      {C::kSelectAll, false},
      {C::kPause, false},
      {C::kAbout, false},
  };
  for (const auto& [id, onlyInView] : cases)
    EXPECT_EQ(ShortcutOnlyInView(CommandInfoOf(id)), onlyInView) << static_cast<int>(id);
}

}  // namespace
}  // namespace pelkor
