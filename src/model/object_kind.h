// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

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

inline constexpr std::array<ObjectKind, 6> kPrimitiveKinds = {
    kShiftRegisterKind, kStateMachineKind, kCounterKind, kSourceKind, kSinkKind, kInstanceKind};

// The name the log and the reports give a kind of object; empty for any other code.
constexpr std::string_view ObjectKindName(ObjectKind kind) {
  switch (kind) {
    case kStateMachineKind:
      return "ステートマシン";
    case kShiftRegisterKind:
      return "シフトレジスタ";
    case kCounterKind:
      return "カウンタ";
    case kSourceKind:
      return "ウージ";
    case kSinkKind:
      return "ケムマキ";
    case kInstanceKind:
      return "モジュール";
    default:
      return "";
  }
}

// An object as the log names it: "シフトレジスタ3".
inline std::string ObjectLabel(ObjectKind kind, int id) {
  return std::string(ObjectKindName(kind)) + std::to_string(id);
}

}  // namespace pelkor
