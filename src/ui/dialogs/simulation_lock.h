// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "edit/simulation_locks.h"

class QWidget;

namespace pelkor {

// Locks a value control of a property dialog while simulating when the run cannot take its
// field: an edit turns read-only, a button disabled, and the pointer resting on it tells why.
// Gives whether it locked the control.
bool LockWhileSimulating(QWidget* control, DialogField field, bool simulating);

}  // namespace pelkor
