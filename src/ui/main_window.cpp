// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.h"

#include <cstdio>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>

#include "edit/command_table.h"
#include "edit/settings_sheet.h"
#include "model/module_manager_entries.h"
#include "model/module_tree_rows.h"
#include "ui/about_dialog.h"
#include "ui/breakpoints_dock.h"
#include "ui/module_manager_dialog.h"
#include "ui/module_tree_window.h"
#include "ui/resources.h"
#include "ui/settings_dialog.h"
#include "ui/view_widget.h"
#include "ui/waveform_dock.h"
#include "view/view_navigation.h"

namespace pelkor {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A status-bar pane as wide as the resource text that sizes it.
QLabel* AddPane(QStatusBar* bar, const QString& sizingText, const char* name) {
  auto* pane = new QLabel(bar);
  pane->setObjectName(name);
  pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(sizingText) + 12);
  pane->setFrameShape(QFrame::Panel);
  pane->setFrameShadow(QFrame::Sunken);
  bar->addPermanentWidget(pane);
  return pane;
}

// The wheel habit that a command of the 設定 menu chooses.
WheelHabit WheelHabitOf(CommandId id) {
  return id == CommandId::kWheelScrolls         ? WheelHabit::kScroll
         : id == CommandId::kWheelZoomsReversed ? WheelHabit::kZoomReversed
                                                : WheelHabit::kZoom;
}

}  // namespace

MainWindow::MainWindow(std::filesystem::path settingsPath, QWidget* parent)
    : QMainWindow(parent),
      settingsPath_(std::move(settingsPath)),
      settings_(LoadSettings(settingsPath_, settingNotes_)),
      ui_(this),
      workspace_(ui_) {
  InitDesktopResources();
  setObjectName("mainWindow");
  setWindowIcon(QIcon(":/icons/pelkor.svg"));
  workspace_.SetSettings(settings_);
  workspace_.SetTimerInterval(settings_.timer);
  view_ = new ViewWidget(workspace_, this);
  setCentralWidget(view_);
  BuildActions();
  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  ConnectWorkspace();
  BuildDocks();
  RestoreLayout();
  RefreshCommandStates();
  // The log window is shown at start when the settings say so, as the first update does.
  if (settings_.outputView)
    ShowOutputLog(true);
  for (const SettingNote& note : settingNotes_)
    workspace_.WriteLog(SettingNoteMessage(note));
}

MainWindow::~MainWindow() {
  // The docks outlive this object's members while QWidget destroys them: nothing they say may
  // reach it any more.
  for (QDockWidget* dock : findChildren<QDockWidget*>())
    dock->disconnect(this);
  waveform_->removeEventFilter(this);
  WriteSettingsFile();
  workspace_.AttachLog(nullptr);
}

void MainWindow::BuildActions() {
  for (const CommandInfo& info : Commands()) {
    auto* action = new QAction(FromUtf8(MenuLabel(info.menuText)), this);
    action->setObjectName(QString("action%1").arg(static_cast<int>(info.id)));
    action->setStatusTip(FromUtf8(info.statusText));
    if (!info.toolTip.empty())
      action->setToolTip(FromUtf8(info.toolTip));
    QList<QKeySequence> keys;
    for (std::string_view key : info.shortcuts)
      keys.append(QKeySequence(FromUtf8(key)));
    if (ShortcutOnlyInView(info)) {
      // Plain keys belong to the view alone: the menu only shows them, so that they neither
      // steal the menus' own letters nor the keys typed in another window.
      action->setText(action->text() + "\t" + keys.front().toString(QKeySequence::NativeText));
      for (const QKeySequence& key : keys)
        new QShortcut(
            key, view_, [action] { action->trigger(); }, Qt::WidgetWithChildrenShortcut);
    } else {
      action->setShortcuts(keys);
    }
    if (!info.icon.empty())
      action->setIcon(QIcon(QString(":/icons/%1.svg").arg(FromUtf8(info.icon))));
    action->setCheckable(info.checkable);
    const CommandId id = info.id;
    connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
    actions_.emplace(id, action);
  }
}

void MainWindow::BuildMenus() {
  for (const MenuInfo& info : MainMenu()) {
    QMenu* menu = menuBar()->addMenu(FromUtf8(info.title));
    for (const std::optional<CommandId>& item : info.items) {
      if (!item) {
        menu->addSeparator();
        continue;
      }
      if (*item == CommandId::kRecentFile) {
        // The recent files stand where the framework puts them, before its greyed placeholder,
        // which shows only while the list is empty.
        for (std::size_t i = 0; i < kMaxRecentFiles; ++i) {
          auto* recent = new QAction(this);
          recent->setObjectName(QString("recentFile%1").arg(i + 1));
          recent->setStatusTip(FromUtf8(CommandInfoOf(CommandId::kRecentFile).statusText));
          connect(recent, &QAction::triggered, this, [this, i] { OpenRecentFile(i); });
          menu->addAction(recent);
          recentFileActions_.push_back(recent);
        }
      }
      menu->addAction(actions_.at(*item));
    }
  }
  UpdateRecentFilesMenu();
}

void MainWindow::UpdateRecentFilesMenu() {
  const std::vector<std::string>& files = settings_.recentFiles;
  for (std::size_t i = 0; i < recentFileActions_.size(); ++i) {
    QAction* recent = recentFileActions_[i];
    recent->setVisible(i < files.size());
    if (i < files.size())
      recent->setText(QString("&%1 %2").arg(i + 1).arg(FromUtf8(files[i])));
  }
  actions_.at(CommandId::kRecentFile)->setVisible(files.empty());
}

void MainWindow::OpenRecentFile(std::size_t index) {
  if (index >= settings_.recentFiles.size() || workspace_.IsSimulating())
    return;
  const std::string file = settings_.recentFiles[index];
  std::error_code error;
  if (!std::filesystem::is_regular_file(std::filesystem::path(file), error)) {
    QMessageBox::warning(this, "pelkor",
                         QString("%1 が見つかりません。最近使ったファイルの一覧から削除します。")
                             .arg(FromUtf8(file)));
    RemoveRecentFile(settings_.recentFiles, file);
    UpdateRecentFilesMenu();
    return;
  }
  if (workspace_.ConfirmDiscardChanges())
    workspace_.OpenFile(file);
}

void MainWindow::UpdateTitle() {
  setWindowTitle(FromUtf8(workspace_.WindowTitle()));
}

void MainWindow::BuildToolBar() {
  toolBar_ = addToolBar("ツール バー");
  toolBar_->setObjectName("toolBar");
  toolBar_->setIconSize(QSize(22, 22));
  for (const std::optional<CommandId>& item : MainToolBar()) {
    if (item) {
      toolBar_->addAction(actions_.at(*item));
    } else {
      toolBar_->addSeparator();
    }
  }
}

void MainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("statusBar");
  stepPane_ = AddPane(bar, "ステップ 0000000", "stepPane");
  stepPane_->hide();
  objectPane_ = AddPane(bar, "オブジェクト数", "objectPane");
  xPane_ = AddPane(bar, "X座標   ", "xPane");
  yPane_ = AddPane(bar, "Ｙ座標   ", "yPane");
  objectPane_->setText("OBJ=0");
  bar->showMessage("レディ");
  // Help texts of menus and buttons show while the pointer is on them; "レディ" when idle.
  connect(bar, &QStatusBar::messageChanged, this, [bar](const QString& message) {
    if (message.isEmpty())
      bar->showMessage("レディ");
  });
}

void MainWindow::ConnectWorkspace() {
  connect(&ui_, &DesktopUi::changed, this,
          [this](quint16 bits) { OnWorkspaceChanged(ChangeSet::FromBits(bits)); });
  connect(&ui_, &DesktopUi::designFileUsed, this, [this](const QString& path) {
    AddRecentFile(settings_.recentFiles, path.toStdString());
    UpdateRecentFilesMenu();
  });
  ui_.SetModifiedModulesProbe([this] { return workspace_.ModifiedModules(); });
  ui_.SetModuleTreeProbe([this] { return moduleTree() != nullptr; });
  connect(&ui_, &DesktopUi::moduleTreeOpenRequested, this, &MainWindow::OpenModuleTree);
  connect(&ui_, &DesktopUi::moduleTreeCloseRequested, this, &MainWindow::CloseModuleTree);
  ui_.SetViewWidget(view_->viewport());
  connect(&ui_, &DesktopUi::tooltipChanged, view_, &ViewWidget::SetTooltip);
  connect(&ui_, &DesktopUi::pointerMoved, this, [this](int x, int y) {
    xPane_->setText(QString("X:%1").arg(x));
    yPane_->setText(QString("Y:%1").arg(y));
  });
  connect(&ui_.timer(), &QTimer::timeout, this, [this] {
    workspace_.Tick();
    if (!workspace_.IsTimerRunning())
      ui_.StopTimer();
  });
  connect(view_, &ViewWidget::filesDropped, this,
          [this](const std::vector<std::filesystem::path>& paths) { workspace_.DropFiles(paths); });
}

void MainWindow::OnWorkspaceChanged(ChangeSet changes) {
  view_->viewport()->update();
  if (changes.Has(Change::kView))
    view_->UpdateScrollBars();
  if (changes.Has(Change::kTree))
    RebuildModuleTree();
  if (changes.HasAny(Change::kView | Change::kTree) && moduleTree() != nullptr)
    moduleTree_->selectItem(workspace_.library().currentInstance().treeItem);
  OnWaveformsChanged(changes);
  if (!breakpoints_->isHidden())
    breakpoints_->Refresh();
  if (changes.Has(Change::kContent))
    ScheduleRecoveryCopies();
  if (changes == ChangeSet(Change::kOverlay))
    return;
  objectPane_->setText(
      QString("OBJ=%1").arg(workspace_.library().currentModule().PrimitiveCount()));
  const SignalHistory& history = workspace_.history();
  stepPane_->setVisible(workspace_.IsSimulating());
  stepPane_->setText(QString("ステップ %1").arg(history.empty() ? 0 : history.lastStep()));
  RefreshCommandStates();
}

std::optional<CommandState> MainWindow::WindowCommandState(CommandId id) const {
  switch (id) {
    case CommandId::kSettings:
      return CommandState{!workspace_.IsSimulating(), false};
    case CommandId::kPrint:
    case CommandId::kPrintPreview:
    case CommandId::kPrintSetup:
    case CommandId::kModuleManager:
    case CommandId::kExit:
    case CommandId::kAbout:
      return CommandState{true, false};
    case CommandId::kToolBar:
      return CommandState{true, toolBar_->isVisible()};
    case CommandId::kStatusBar:
      return CommandState{true, statusBar()->isVisible()};
    case CommandId::kOutputLog:
    case CommandId::kOutputDialog:
      return CommandState{true, outputLog() != nullptr};
    case CommandId::kModuleTree:
      return CommandState{true, moduleTree() != nullptr};
    case CommandId::kWaveform:
      return CommandState{true, !waveform_->isHidden()};
    case CommandId::kBreakpointsDock:
      return CommandState{true, !breakpoints_->isHidden()};
    case CommandId::kGridSnap:
      return CommandState{true, settings_.desktop.gridSnap};
    case CommandId::kWheelZooms:
    case CommandId::kWheelZoomsReversed:
    case CommandId::kWheelScrolls:
      return CommandState{true, WheelHabitOf(id) == settings_.desktop.wheel};
    default:
      return std::nullopt;
  }
}

void MainWindow::RefreshCommandStates() {
  for (const auto& [id, action] : actions_) {
    const CommandState state = WindowCommandState(id).value_or(workspace_.Query(id));
    action->setEnabled(state.enabled);
    if (action->isCheckable())
      action->setChecked(state.checked);
  }
  for (QAction* recent : recentFileActions_)
    recent->setEnabled(!workspace_.IsSimulating());
  UpdateTitle();
}

void MainWindow::Execute(CommandId id) {
  if (!WindowCommandState(id)) {
    workspace_.Execute(id);
    return;
  }
  if (!WindowCommandState(id)->enabled)
    return;
  switch (id) {
    case CommandId::kExit:
      close();
      break;
    case CommandId::kToolBar:
      toolBar_->setVisible(!toolBar_->isVisible());
      break;
    case CommandId::kStatusBar:
      statusBar()->setVisible(!statusBar()->isVisible());
      break;
    case CommandId::kOutputLog:
    case CommandId::kOutputDialog:
      ToggleOutputLog();
      break;
    case CommandId::kModuleTree:
      ToggleModuleTree();
      break;
    case CommandId::kWaveform:
      ToggleWaveforms();
      break;
    case CommandId::kBreakpointsDock:
      breakpoints_->setVisible(breakpoints_->isHidden());
      breakpoints_->Refresh();
      RefreshCommandStates();
      break;
    case CommandId::kGridSnap:
      settings_.desktop.gridSnap = !settings_.desktop.gridSnap;
      workspace_.SetSettings(settings_);
      break;
    case CommandId::kWheelZooms:
    case CommandId::kWheelZoomsReversed:
    case CommandId::kWheelScrolls:
      settings_.desktop.wheel = WheelHabitOf(id);
      workspace_.SetSettings(settings_);
      break;
    case CommandId::kModuleManager:
      ShowModuleManager();
      break;
    case CommandId::kSettings:
      ShowSettings();
      break;
    case CommandId::kPrint:
      printing_.Print();
      break;
    case CommandId::kPrintPreview:
      printing_.Preview();
      break;
    case CommandId::kPrintSetup:
      printing_.PageSetup();
      break;
    case CommandId::kAbout: {
      AboutDialog about(this);
      about.exec();
      break;
    }
    default:
      break;
  }
  RefreshCommandStates();
}

void MainWindow::OpenDesign(const std::filesystem::path& path) {
  workspace_.OpenFile(path);
}

void MainWindow::ShowModuleManager() {
  // "表示" goes to the module as picking its row in the module tree does.
  const auto show = [this](const std::string& name) {
    const TreeItem item = FindModuleRow(CurrentModuleTree(), name);
    if (item == 0)
      return false;
    workspace_.GoToTreeItem(item);
    RefreshCommandStates();
    return true;
  };
  ModuleManagerDialog manager(BuildModuleManagerEntries(workspace_.library()), show, this);
  manager.exec();
}

void MainWindow::ShowSettings() {
  SettingsDialog dialog(settings_, this);
  if (dialog.exec() != QDialog::Accepted)
    return;
  ApplySheet(dialog.sheet(), settings_);
  workspace_.SetTimerInterval(settings_.timer);
  workspace_.SetSettings(settings_);
}

void MainWindow::WriteSettingsFile() {
  if (settingsSaved_)
    return;
  settingsSaved_ = true;
  settings_.timer = workspace_.timerInterval();
  SaveLayout();
  if (SaveSettings(settingsPath_, settings_) != SaveResult::kSaved)
    std::fprintf(stderr, "pelkor: the settings could not be written to %s\n",
                 settingsPath_.c_str());
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!workspace_.ConfirmDiscardChanges()) {
    event->ignore();
    return;
  }
  workspace_.EndSimulation();
  // Every change was saved or discarded: nothing is left to recover.
  workspace_.EndRecoveryCleanly();
  WriteSettingsFile();
  event->accept();
}

}  // namespace pelkor
