// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "files/recovery_store.h"

namespace pelkor {

// What to do with the copies a program that did not end cleanly left.
enum class RecoveryAnswer { kRestore, kKeepForLater, kDiscard };

// Lists the modules of a session left behind with the times of their copies and asks whether
// to restore them, keep them for later or discard them. Closing it keeps them for later.
class RecoveryDialog : public QDialog {
  Q_OBJECT

 public:
  RecoveryDialog(const AbandonedSession& session, QWidget* parent = nullptr);
  RecoveryAnswer answer() const { return answer_; }

 private:
  RecoveryAnswer answer_ = RecoveryAnswer::kKeepForLater;
};

}  // namespace pelkor
