// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/simulation_lock.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace pelkor {

bool LockWhileSimulating(QWidget* control, DialogField field, bool simulating) {
  const bool locked = simulating && !RunningSimulationTakes(field);
  // Edits stay enabled when locked, so that their text can still be selected and copied.
  if (auto* line = qobject_cast<QLineEdit*>(control))
    line->setReadOnly(locked);
  else if (auto* text = qobject_cast<QPlainTextEdit*>(control))
    text->setReadOnly(locked);
  else if (auto* spin = qobject_cast<QAbstractSpinBox*>(control))
    spin->setReadOnly(locked);
  else
    control->setEnabled(!locked);
  control->setToolTip(locked ? QString::fromUtf8(kLockedWhileSimulating) : QString());
  return locked;
}

}  // namespace pelkor
