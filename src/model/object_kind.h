// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pelkor {

// Integer kind codes. They also serve as tool numbers and colour numbers, and the design file
// writes them, so the values are fixed.
using ObjectKind = int;

inline constexpr ObjectKind kNoKind = 0;
inline constexpr ObjectKind kStateMachineKind = 1;
inline constexpr ObjectKind kShiftRegisterKind = 2;
inline constexpr ObjectKind kCounterKind = 3;
inline constexpr ObjectKind kSourceKind = 4;
inline constexpr ObjectKind kSinkKind = 5;
inline constexpr ObjectKind kInstanceKind = 14;

// True for the six codes that name a primitive map of a module.
constexpr bool IsPrimitiveKind(ObjectKind kind) {
  return kind == kStateMachineKind || kind == kShiftRegisterKind || kind == kCounterKind ||
         kind == kSourceKind || kind == kSinkKind || kind == kInstanceKind;
}

}  // namespace pelkor
