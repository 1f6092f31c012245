// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's waveform window and verdict commands.
#include <QEvent>

#include "ui/main_window.h"
#include "ui/output_log_window.h"
#include "ui/waveform_dock.h"

namespace pelkor {

void MainWindow::BuildWaveformDock() {
  waveform_ = new WaveformDock(workspace_, this);
  addDockWidget(Qt::BottomDockWidgetArea, waveform_);
  waveform_->hide();
  connect(waveform_, &QDockWidget::visibilityChanged, this, [this] {
    RefreshCommandStates();
    PlaceOutputLog();
  });
  connect(waveform_, &QDockWidget::topLevelChanged, this, &MainWindow::PlaceOutputLog);
  waveform_->installEventFilter(this);  // its resizing moves the output log
  connect(&ui_, &DesktopUi::redrawRequested, waveform_, &WaveformDock::Refresh);
  // A node picked in the module tree, or entered, joins the waveforms while they are shown.
  connect(
      &ui_, &DesktopUi::currentNodeChanged, this,
      [this](quint64 item) {
        if (!waveform_->isHidden() && workspace_.WatchTreeItem(item))
          waveform_->Refresh();
      },
      Qt::QueuedConnection);
}

void MainWindow::PlaceOutputLog() {
  if (outputLog_ == nullptr)
    return;
  const bool docked = waveform_ != nullptr && waveform_->isVisible() && !waveform_->isFloating() &&
                      dockWidgetArea(waveform_) == Qt::BottomDockWidgetArea;
  outputLog_->FollowOwner(docked ? waveform_->height() : 0);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == waveform_ && event->type() == QEvent::Resize)
    PlaceOutputLog();
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::ExecuteWaveformCommand(CommandId id) {
  switch (id) {
    case CommandId::kWaveform:
      waveform_->setVisible(waveform_->isHidden());
      if (!waveform_->isHidden())
        resizeDocks({waveform_}, {height() / 3}, Qt::Vertical);
      break;
    case CommandId::kShowSinkVerdicts:
      workspace_.view().showSinkVerdicts = !workspace_.view().showSinkVerdicts;
      break;
    case CommandId::kStopAtMismatch:
      workspace_.SetStopAtMismatch(!workspace_.stopAtMismatch());
      break;
    default:
      break;
  }
}

}  // namespace pelkor
