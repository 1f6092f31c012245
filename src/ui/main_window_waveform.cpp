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
}

void MainWindow::OnWaveformsChanged(ChangeSet changes) {
  // A node picked in the module tree, or entered, joins the waveforms while they are shown.
  if (changes.Has(Change::kView) && !waveform_->isHidden())
    workspace_.WatchTreeItem(workspace_.library().currentInstance().treeItem);
  if (changes.HasAny(Change::kSimulation | Change::kView | Change::kTree))
    waveform_->Refresh();
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

void MainWindow::ToggleWaveforms() {
  waveform_->setVisible(waveform_->isHidden());
  if (!waveform_->isHidden())
    resizeDocks({waveform_}, {height() / 3}, Qt::Vertical);
}

}  // namespace pelkor
