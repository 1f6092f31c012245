// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>

#include "edit/editor_fixture.h"
#include "support/workspace_probe.h"

namespace pelkor {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The texts of a menu's items, "-" for a separator, "(grey)" after a disabled one.
std::vector<std::string> Texts(const std::vector<ContextMenuItem>& items) {
  std::vector<std::string> texts;
  for (const ContextMenuItem& item : items)
    texts.push_back(!item.command ? "-" : item.enabled ? item.text : item.text + "(grey)");
  return texts;
}

using ContextMenuTest = testing::EditorTest;

TEST_F(ContextMenuTest, EmptySpaceOffersPasteGreyedUntilSomethingIsCopied) {
  Place(CommandId::kSinkTool, {100, 100});
  Tool(CommandId::kMoveTool);
  RightClick({300, 200});
  Click({100, 100});
  ws.Copy(testing::ViewOf(ws).viewport());
  Click({300, 200});  // drops the selection
  RightClick({300, 200});
  ws.Check();
  RightClick({300, 200});
  ASSERT_EQ(ui.menus.size(), 3u);
  EXPECT_THAT(Texts(ui.menus[0]), ElementsAre("貼り付け(grey)"));
  EXPECT_THAT(Texts(ui.menus[1]), ElementsAre("貼り付け"));
  EXPECT_EQ(ui.menus[1][0].command, CommandId::kPaste);
  EXPECT_THAT(Texts(ui.menus[2]), ElementsAre("貼り付け(grey)"));
}

TEST_F(ContextMenuTest, OnlyACommandTheMenuOfferedIsRun) {
  Place(CommandId::kModuleTool, {100, 100});
  RightClick({100, 100});  // the instance's menu, closed without a choice
  Tool(CommandId::kMoveTool);
  ui.menuChoices = {CommandId::kLoadModule};
  RightClick({300, 200});
  EXPECT_THAT(ui.dialogs, IsEmpty());
}

TEST_F(ContextMenuTest, PasteLandsAtTheLastPressPoint) {
  Place(CommandId::kSinkTool, {100, 100});
  Tool(CommandId::kMoveTool);
  Press({110, 90});  // selects the sink, anchored at the press point
  Release({110, 90});
  ws.Copy(testing::ViewOf(ws).viewport());
  Click({300, 200});
  ui.menuChoices = {CommandId::kPaste};
  RightClick({50, 250});
  ASSERT_EQ(module().sinks.size(), 2u);
  EXPECT_EQ(module().sinks.rbegin()->second.position, (Point{290, 210}));
}

TEST_F(ContextMenuTest, ACopyFromAnObjectsMenuPastesRelativeToWhereItWasClicked) {
  Place(CommandId::kSinkTool, {100, 100});
  Tool(CommandId::kMoveTool);
  ui.menuChoices = {CommandId::kCopy, CommandId::kPaste};
  RightClick({110, 90});
  Click({300, 200});
  RightClick({50, 250});
  ASSERT_EQ(module().sinks.size(), 2u);
  EXPECT_EQ(module().sinks.rbegin()->second.position, (Point{290, 210}));
}

TEST_F(ContextMenuTest, AnObjectsMenuSelectsItAloneAndRunsTheChosenCommand) {
  const int reg = Place(CommandId::kShiftRegisterTool, {100, 100});
  const int instance = Place(CommandId::kModuleTool, {250, 100});
  RightClick({100, 100});
  EXPECT_THAT(module().selection.selectedIds, ElementsAre(reg));
  EXPECT_EQ(state().contextObject, reg);
  ui.menuChoices = {CommandId::kEditPrimitive};
  RightClick({250, 100});
  // A register takes a breakpoint; an instance has no event of its own.
  EXPECT_THAT(Texts(ui.menus[0]),
              ElementsAre("コピー", "削除", "整列", "-", "編集", "ブレークポイント"));
  EXPECT_THAT(Texts(ui.menus[1]),
              ElementsAre("コピー", "削除", "整列", "-", "編集", "モジュール読み込み"));
  EXPECT_THAT(ui.opened, ElementsAre("module name"));
  EXPECT_EQ(state().contextObject, 0);

  ui.menuChoices = {CommandId::kDelete};
  RightClick({100, 100});
  EXPECT_EQ(module().PositionOf(reg), nullptr);
  EXPECT_NE(module().PositionOf(instance), nullptr);
}

TEST_F(ContextMenuTest, EditOfAnInstanceNamesItAsADoubleClickDoesAndThenEntersIt) {
  const int instance = Place(CommandId::kModuleTool, {100, 100});
  const std::uint64_t before = Revision();
  ui.names = {" sub "};
  ui.menuChoices = {CommandId::kEditPrimitive, CommandId::kEditPrimitive};
  RightClick({100, 100});
  EXPECT_EQ(module().instances.at(instance).moduleName, "sub");
  EXPECT_THAT(ui.opened, ElementsAre("module name"));
  EXPECT_EQ(testing::LibraryOf(ws).rootInstance().children.size(), 1u);
  EXPECT_NE(Revision(), before);

  RightClick({100, 100});  // named now: 編集 goes inside
  EXPECT_EQ(testing::LibraryOf(ws).currentInstance().name, "sub");
  EXPECT_THAT(ui.opened, ElementsAre("module name"));
}

TEST_F(ContextMenuTest, ASelectionOfSeveralHasItsMenuInsideItsFrameOnly) {
  Place(CommandId::kShiftRegisterTool, {100, 100});
  const int counter = Place(CommandId::kCounterTool, {200, 100});
  Place(CommandId::kSinkTool, {300, 250});
  Tool(CommandId::kMoveTool);
  Press({50, 50});
  Release({250, 150});
  RightClick({300, 250});  // outside the frame: no menu, even on an object
  EXPECT_THAT(ui.menus, IsEmpty());
  ui.menuChoices = {CommandId::kAlign};
  RightClick({150, 100});
  ASSERT_EQ(ui.menus.size(), 1u);
  EXPECT_THAT(Texts(ui.menus[0]), ElementsAre("コピー", "削除", "整列"));
  EXPECT_EQ(*module().PositionOf(counter), (Point{220, 100}));
  EXPECT_FALSE(ws.HasSelection());
}

}  // namespace
}  // namespace pelkor
