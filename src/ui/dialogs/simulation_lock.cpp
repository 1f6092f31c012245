// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/simulation_lock.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui/dialogs/field_label.h"

namespace pelkor {

bool LockWhileSimulating(QWidget* control, DialogField field, bool simulating) {
  const bool locked = simulating && !RunningSimulationTakes(field);
  // Edits stay enabled when locked, so that their text can still be selected and copied.
  if (qobject_cast<QLineEdit*>(control) || qobject_cast<QPlainTextEdit*>(control) ||
      qobject_cast<QAbstractSpinBox*>(control))
    ShowReadOnly(control, locked);
  else
    control->setEnabled(!locked);
  control->setToolTip(locked ? QString::fromUtf8(kLockedWhileSimulating) : QString());
  return locked;
}

}  // namespace pelkor
