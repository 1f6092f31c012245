// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part in crash recovery: the restore question at start and the timer that
// keeps the copies current.
#include <QTimer>

#include "ui/main_window.h"
#include "ui/recovery_dialog.h"

namespace pelkor {

bool MainWindow::StartRecovery(const std::filesystem::path& recoveryFolder,
                               int intervalMilliseconds) {
  // This program's own session comes first, so that a restored design moves into it; being
  // locked, it is never taken for one left behind.
  if (workspace_.EnableRecovery(recoveryFolder)) {
    recoveryTimer_ = new QTimer(this);
    recoveryTimer_->setSingleShot(true);
    recoveryTimer_->setInterval(intervalMilliseconds);
    connect(recoveryTimer_, &QTimer::timeout, this, [this] { workspace_.WriteRecoveryCopies(); });
  }
  return OfferRecovery(recoveryFolder);
}

bool MainWindow::OfferRecovery(const std::filesystem::path& recoveryFolder) {
  std::vector<AbandonedSession> sessions = FindAbandonedSessions(recoveryFolder);
  for (AbandonedSession& session : sessions) {
    RecoveryDialog dialog(session, this);
    dialog.exec();
    switch (dialog.answer()) {
      case RecoveryAnswer::kRestore:
        // One design at a time: the sessions after it stay for a later start.
        workspace_.RestoreRecovered(session);
        return true;
      case RecoveryAnswer::kDiscard:
        DiscardSession(session);
        break;
      case RecoveryAnswer::kKeepForLater:
        break;
    }
  }
  return false;
}

void MainWindow::ScheduleRecoveryCopies() {
  // At most one write for each interval of editing, however many edits it holds.
  if (recoveryTimer_ != nullptr && !recoveryTimer_->isActive())
    recoveryTimer_->start();
}

}  // namespace pelkor
