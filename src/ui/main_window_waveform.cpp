// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's waveform window and verdict commands.
#include "ui/main_window.h"
#include "ui/waveform_dock.h"

namespace pelkor {

void MainWindow::BuildWaveformDock() {
  waveform_ = new WaveformDock(workspace_, this);
  connect(waveform_, &QDockWidget::visibilityChanged, this, &MainWindow::RefreshCommandStates);
}

void MainWindow::OnWaveformsChanged(ChangeSet changes) {
  // A node picked in the module tree, or entered, joins the waveforms while they are shown.
  if (changes.Has(Change::kView) && !waveform_->isHidden())
    workspace_.WatchTreeItem(workspace_.library().currentInstance().treeItem);
  if (changes.HasAny(Change::kSimulation | Change::kView | Change::kTree))
    waveform_->Refresh();
}

void MainWindow::ToggleWaveforms() {
  waveform_->setVisible(waveform_->isHidden());
  if (!waveform_->isHidden())
    SizeDockOnce(waveform_, Qt::Vertical, height() / 3);
}

}  // namespace pelkor
