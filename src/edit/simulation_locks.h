// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/primitives.h"

namespace pelkor {

// The value controls of the property dialogs. A running simulation works on what the check
// compiled from the design, so a change to a field it compiled could not reach the run; such
// fields are locked while simulating.
enum class DialogField {
  kRegisterContents,
  kRegisterSizeFixed,
  kRegisterSize,
  kRegisterDirection,
  kSourceData,
  kSourceHoldValue,
  kSourceFromEnd,
  kSourceHexDisplay,
  kSourceName,
  kCounterText,
  kCounterNumber,
  kSinkExpected,
  kSinkOutputMode,
  kSinkHexDisplay,
  kSinkName,
};

// What a locked control says when the pointer rests on it.
inline constexpr const char* kLockedWhileSimulating =
    "シミュレーション中は変更できません。停止してから変更してください";

// Whether a running simulation can take a change of the field.
bool RunningSimulationTakes(DialogField field);

// The record a dialog closed while simulating leaves: `before` with only the changes of
// `edited` that a running simulation can take. Of a source, a counter or a sink it takes none.
template <typename Record>
Record TakenWhileSimulating(const Record& before, const Record& /*edited*/) {
  return before;
}
ShiftRegister TakenWhileSimulating(const ShiftRegister& before, const ShiftRegister& edited);

}  // namespace pelkor
