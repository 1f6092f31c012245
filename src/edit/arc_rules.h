// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/geometry.h"
#include "model/module.h"
#include "model/object_kind.h"

namespace pelkor {

// An arc joins a shift register with another kind: out of a register into a state machine,
// counter, sink or module instance, or into a register out of a state machine, counter, source
// or module instance.
bool IsArcTargetAllowed(ObjectKind from, ObjectKind to);

// The direction a register gets when an arc leaves it, by the setting SHIFTLINE: 0 keeps it
// left, 2 right; otherwise right exactly when the arc heads right, that is when the register
// lies left of `towards` (the arc's first bend, or its target).
int DirectionForArcFrom(int shiftLine, Point registerPosition, Point towards);

// Removes one arc with its two index entries.
void RemoveArc(Module& module, int arcId);

}  // namespace pelkor
