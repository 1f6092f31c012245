// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "edit/state_dialog.h"

class QCheckBox;
class QPlainTextEdit;

namespace pelkor {

// The state dialog: a state's two texts and its main mark. OK is refused, with the message,
// while either text does not regenerate.
class StateExDialog : public QDialog {
  Q_OBJECT

 public:
  explicit StateExDialog(const StateDialogValues& values, QWidget* parent = nullptr);

  // The values OK took; the values given, while the dialog has not been confirmed.
  const StateDialogValues& values() const { return values_; }

  void accept() override;

 private:
  StateDialogValues values_;
  QPlainTextEdit* firstText_;
  QPlainTextEdit* secondText_;
  QCheckBox* mainBox_;
};

}  // namespace pelkor
