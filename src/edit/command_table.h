// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "edit/command.h"

namespace pelkor {

// What a menu, a toolbar button and the status bar show for one command.
struct CommandInfo {
  CommandId id;
  std::string_view menuText;                // as the menu shows it, "&" marking the mnemonic
  std::string_view statusText;              // the status bar's help text
  std::string_view toolTip;                 // empty for a command without a toolbar button
  std::vector<std::string_view> shortcuts;  // key sequences in portable text ("Ctrl+N")
  std::string_view icon;                    // the toolbar icon's name; empty for none
  bool checkable = false;
};

// One top-level menu: its title and its items, nullopt standing for a separator.
struct MenuInfo {
  std::string_view title;
  std::vector<std::optional<CommandId>> items;
};

// Every command of the main window, once.
std::span<const CommandInfo> Commands();
// The command's entry; every CommandId has one.
const CommandInfo& CommandInfoOf(CommandId id);
// The main menu, left to right.
std::span<const MenuInfo> MainMenu();
// A menu text as a menu shows it beside the command's shortcut: without the key written after a
// tab ("新規作成\tCtrl+N(&N)" is "新規作成(&N)"), so that the key is not shown twice.
std::string MenuLabel(std::string_view menuText);
// Whether the command's keys are plain keys (a letter, Delete) that act only while the view
// has the focus, so that typing in another window is not taken for a command.
bool ShortcutOnlyInView(const CommandInfo& info);
// The main toolbar's buttons in order, nullopt standing for a separator.
std::span<const std::optional<CommandId>> MainToolBar();

}  // namespace pelkor
