// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "edit/command.h"
#include "files/settings.h"
#include "model/module_tree_rows.h"
#include "ui/desktop_ui.h"
#include "ui/print_commands.h"
#include "workspace/workspace.h"

class QAction;
class QDockWidget;
class QLabel;
class QTimer;
class QToolBar;

namespace pelkor {

class BreakpointsDock;
class ModuleTreeWindow;
class OutputLogWindow;
class ViewWidget;
class WaveformDock;

// The main frame: menus, toolbar and status bar over the editor view of the one workspace.
// Every command goes through Execute: the window's own bars, docks and dialogs here, every
// other one in the workspace. Each change the workspace reports refreshes every action's enabled
// and checked state.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Reads the settings file at `settingsPath` and writes it back when the window closes.
  explicit MainWindow(std::filesystem::path settingsPath, QWidget* parent = nullptr);
  ~MainWindow() override;

  Workspace& workspace() { return workspace_; }
  DesktopUi& desktopUi() { return ui_; }
  const Settings& settings() const { return settings_; }
  QAction* action(CommandId id) const { return actions_.at(id); }
  // The output log and the module tree while they are shown, else none.
  OutputLogWindow* outputLog() const;
  ModuleTreeWindow* moduleTree() const;
  ViewWidget* view() const { return view_; }
  WaveformDock* waveform() const { return waveform_; }
  BreakpointsDock* breakpointsDock() const { return breakpoints_; }

  // Opens a design as the Open command does, for a path named on the command line.
  void OpenDesign(const std::filesystem::path& path);
  void Execute(CommandId id);
  // Brings every action's enabled and checked state in line with the workspace.
  void RefreshCommandStates();
  // Crash recovery (main_window_recovery.cpp): keeps copies of the unsaved modules in
  // `recoveryFolder`, written at most `intervalMilliseconds` after a change, and first offers to
  // restore what programs that did not end cleanly left there. True when a design was restored.
  bool StartRecovery(const std::filesystem::path& recoveryFolder, int intervalMilliseconds = 30000);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildActions();
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusBar();
  void ConnectWorkspace();
  // Repaints and refreshes what shows the changes of a workspace command or event.
  void OnWorkspaceChanged(ChangeSet changes);
  // The dock windows: the output log, the module tree and the waveforms (main_window_docks.cpp).
  void BuildDocks();
  // Puts the window and its docks where the settings file says they were, fitted into the
  // screen; the docks' visibility stays the program's.
  void RestoreLayout();
  void SaveLayout();
  // F6 and Shift+F6: the focus to the next or the previous pane, the view and the docks shown.
  void FocusPane(int step);
  // Gives a dock shown for the first time its share of the window, unless the saved layout
  // or the user sized it already.
  void SizeDockOnce(QDockWidget* dock, Qt::Orientation orientation, int pixels);
  void ToggleModuleTree();
  void OpenModuleTree();
  void CloseModuleTree();
  // The rows of the instance tree as the module tree window shows them.
  ModuleTree CurrentModuleTree() const;
  void RebuildModuleTree();
  void ShowModuleManager();
  void ShowSettings();
  void ToggleOutputLog();
  void ShowOutputLog(bool shown);
  void UpdateTitle();
  void UpdateRecentFilesMenu();
  void OpenRecentFile(std::size_t index);
  void WriteSettingsFile();
  // The state of the commands that only the window knows (its bars and windows).
  std::optional<CommandState> WindowCommandState(CommandId id) const;
  // The waveform window and the verdict commands (main_window_waveform.cpp).
  void BuildWaveformDock();
  void ToggleWaveforms();
  void OnWaveformsChanged(ChangeSet changes);
  bool OfferRecovery(const std::filesystem::path& recoveryFolder);
  void ScheduleRecoveryCopies();

  std::filesystem::path settingsPath_;
  std::vector<SettingNote> settingNotes_;  // for the log, which does not exist yet when read
  Settings settings_;
  DesktopUi ui_;
  Workspace workspace_;
  PrintCommands printing_{workspace_, this};
  ViewWidget* view_ = nullptr;
  OutputLogWindow* outputLog_ = nullptr;
  ModuleTreeWindow* moduleTree_ = nullptr;
  WaveformDock* waveform_ = nullptr;
  BreakpointsDock* breakpoints_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QLabel* stepPane_ = nullptr;  // the step reached, while simulating
  QLabel* objectPane_ = nullptr;
  QLabel* xPane_ = nullptr;
  QLabel* yPane_ = nullptr;
  std::map<CommandId, QAction*> actions_;
  std::vector<QAction*> recentFileActions_;  // "&1 path" ... before the placeholder item
  std::set<QDockWidget*> sizedDocks_;
  bool settingsSaved_ = false;
  QTimer* recoveryTimer_ = nullptr;  // none until recovery starts
};

}  // namespace pelkor
