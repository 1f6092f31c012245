// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace pelkor {

// What a shift-register cell holds: a bit token, 0 or 1, or EMPTY for no token. Expression
// results count as a true bit only when they equal 1.
using Token = std::int32_t;
inline constexpr Token EMPTY = 2;

// Cleared by simulation control before a step; set to 1 by every primitive that moves, or is
// ready to move, a token during the step.
using StepActivity = std::uint8_t;

}  // namespace pelkor
