// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/arc_rules.h"

#include <map>

namespace pelkor {

bool IsArcTargetAllowed(ObjectKind from, ObjectKind to) {
  if (from == kShiftRegisterKind) {
    return to == kStateMachineKind || to == kCounterKind || to == kSinkKind || to == kInstanceKind;
  }
  if (to == kShiftRegisterKind) {
    return from == kStateMachineKind || from == kCounterKind || from == kSourceKind ||
           from == kInstanceKind;
  }
  return false;
}

int DirectionForArcFrom(int shiftLine, Point registerPosition, Point towards) {
  if (shiftLine == 0 || shiftLine == 2)
    return shiftLine;
  return registerPosition.x < towards.x ? 2 : 0;
}

void RemoveArc(Module& module, int arcId) {
  RemoveArc(module.arcs, module.arcsInto, module.arcsOutOf, arcId);
}

}  // namespace pelkor
