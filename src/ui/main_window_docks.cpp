// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's dock windows and their saved layout.
#include <QApplication>
#include <QByteArray>
#include <QScreen>
#include <QShortcut>
#include <algorithm>
#include <utility>
#include <vector>

#include "edit/window_placement.h"
#include "ui/breakpoints_dock.h"
#include "ui/main_window.h"
#include "ui/module_tree_window.h"
#include "ui/output_log_window.h"
#include "ui/view_widget.h"
#include "ui/waveform_dock.h"

namespace pelkor {

namespace {

QByteArray FromBase64(const std::string& text) {
  return QByteArray::fromBase64(QByteArray::fromStdString(text));
}

std::string ToBase64(const QByteArray& bytes) {
  return bytes.toBase64().toStdString();
}

Rect RectOf(const QRect& r) {
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

OutputLogWindow* MainWindow::outputLog() const {
  return outputLog_->isHidden() ? nullptr : outputLog_;
}

ModuleTreeWindow* MainWindow::moduleTree() const {
  return moduleTree_->isHidden() ? nullptr : moduleTree_;
}

void MainWindow::BuildDocks() {
  // The module tree takes the whole right side; the waveforms lie under the view and the log
  // under them, so that no window covers the drawing.
  setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
  setCorner(Qt::TopRightCorner, Qt::RightDockWidgetArea);
  moduleTree_ = new ModuleTreeWindow(this);
  addDockWidget(Qt::RightDockWidgetArea, moduleTree_);
  moduleTree_->hide();
  connect(moduleTree_, &ModuleTreeWindow::closeRequested, this,
          [this] { Execute(CommandId::kModuleTree); });
  connect(moduleTree_, &ModuleTreeWindow::itemPicked, this, [this](TreeItem item) {
    if (item == workspace_.library().currentInstance().treeItem)
      return;
    workspace_.GoToTreeItem(item);
  });
  BuildWaveformDock();
  addDockWidget(Qt::BottomDockWidgetArea, waveform_);
  waveform_->hide();
  outputLog_ = new OutputLogWindow(workspace_, this);
  addDockWidget(Qt::BottomDockWidgetArea, outputLog_);
  splitDockWidget(waveform_, outputLog_, Qt::Vertical);
  outputLog_->hide();
  connect(outputLog_, &OutputLogWindow::closeRequested, this,
          [this] { Execute(CommandId::kOutputLog); });
  breakpoints_ = new BreakpointsDock(workspace_, this);
  addDockWidget(Qt::RightDockWidgetArea, breakpoints_);
  breakpoints_->hide();
  connect(breakpoints_, &BreakpointsDock::closeRequested, this, [this] {
    breakpoints_->hide();
    RefreshCommandStates();
  });
  // Also from a floating dock, which is a window of its own.
  const std::pair<QKeySequence, int> keys[] = {{QKeySequence("F6"), 1},
                                               {QKeySequence("Shift+F6"), -1}};
  for (const auto& [key, step] : keys) {
    const int by = step;
    new QShortcut(
        key, this, [this, by] { FocusPane(by); }, Qt::ApplicationShortcut);
  }
}

void MainWindow::FocusPane(int step) {
  std::vector<QWidget*> panes{view_};
  for (QDockWidget* dock :
       {static_cast<QDockWidget*>(moduleTree_), static_cast<QDockWidget*>(waveform_),
        static_cast<QDockWidget*>(outputLog_), static_cast<QDockWidget*>(breakpoints_)}) {
    if (!dock->isHidden())
      panes.push_back(dock->widget());
  }
  const QWidget* focus = QApplication::focusWidget();
  const auto current = std::find_if(panes.begin(), panes.end(), [focus](QWidget* pane) {
    return focus != nullptr && (pane == focus || pane->isAncestorOf(focus));
  });
  const auto count = static_cast<std::ptrdiff_t>(panes.size());
  const std::ptrdiff_t from = current == panes.end() ? 0 : current - panes.begin();
  QWidget* next = panes[static_cast<std::size_t>(((from + step) % count + count) % count)];
  next->activateWindow();
  next->setFocus(Qt::ShortcutFocusReason);
}

void MainWindow::RestoreLayout() {
  resize(1024, 720);
  const DesktopSettings& saved = settings_.desktop;
  if (!saved.geometry.empty())
    restoreGeometry(FromBase64(saved.geometry));
  if (!saved.docks.empty() && restoreState(FromBase64(saved.docks))) {
    sizedDocks_ = {outputLog_, moduleTree_, waveform_};
    // Where the docks were is kept; whether they show is decided as at every start.
    for (QDockWidget* dock :
         {static_cast<QDockWidget*>(outputLog_), static_cast<QDockWidget*>(moduleTree_),
          static_cast<QDockWidget*>(waveform_), static_cast<QDockWidget*>(breakpoints_)})
      dock->hide();
  }
  // A window saved on a larger screen, or larger than the screen at this scale, must still
  // show its title and its status bar. The frame is known once the window system has it.
  const QScreen* screen = this->screen();
  if (screen == nullptr)
    return;
  winId();
  const QRect frame = frameGeometry();
  const Rect fitted = FitWindowIntoScreen(RectOf(frame), RectOf(screen->availableGeometry()));
  const QSize frameExtra = frame.size() - geometry().size();
  const QSize client = QSize(fitted.right - fitted.left, fitted.bottom - fitted.top) - frameExtra;
  if (client != size())
    resize(client);
  if (QPoint(fitted.left, fitted.top) != frame.topLeft())
    move(fitted.left, fitted.top);  // a window's position is that of its frame
}

void MainWindow::SaveLayout() {
  settings_.desktop.geometry = ToBase64(saveGeometry());
  settings_.desktop.docks = ToBase64(saveState());
}

void MainWindow::SizeDockOnce(QDockWidget* dock, Qt::Orientation orientation, int pixels) {
  if (sizedDocks_.insert(dock).second)
    resizeDocks({dock}, {pixels}, orientation);
}

void MainWindow::ToggleModuleTree() {
  if (moduleTree() == nullptr) {
    OpenModuleTree();
  } else {
    CloseModuleTree();
  }
}

void MainWindow::OpenModuleTree() {
  if (moduleTree() != nullptr)
    return;
  moduleTree_->rebuild(CurrentModuleTree());
  moduleTree_->show();
  moduleTree_->raise();
  SizeDockOnce(moduleTree_, Qt::Horizontal, width() / 5);
  RefreshCommandStates();
}

void MainWindow::CloseModuleTree() {
  if (moduleTree() == nullptr)
    return;
  moduleTree_->hide();
  RefreshCommandStates();
}

ModuleTree MainWindow::CurrentModuleTree() const {
  return BuildModuleTree(workspace_.library(),
                         workspace_.IsSimulating() ? &workspace_.simulation() : nullptr);
}

void MainWindow::RebuildModuleTree() {
  // A hidden tree is rebuilt when it shows again.
  if (moduleTree() != nullptr)
    moduleTree_->rebuild(CurrentModuleTree());
}

void MainWindow::ToggleOutputLog() {
  ShowOutputLog(outputLog() == nullptr);
}

void MainWindow::ShowOutputLog(bool shown) {
  if (shown == (outputLog() != nullptr))
    return;
  // Closing the log discards what it held; lines written while it is hidden are dropped.
  outputLog_->Clear();
  workspace_.AttachLog(shown ? outputLog_ : nullptr);
  outputLog_->setVisible(shown);
  if (shown)
    SizeDockOnce(outputLog_, Qt::Vertical, height() / 6);
  settings_.outputView = shown;
  RefreshCommandStates();
}

}  // namespace pelkor
