// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pelkor {

// The key codes the view's keyboard rules know; a front end passes these for its own keys.
inline constexpr int kBackspaceKey = 8;
inline constexpr int kCtrlKey = 17;
inline constexpr int kEscapeKey = 27;
inline constexpr int kLeftKey = 37;
inline constexpr int kUpKey = 38;
inline constexpr int kRightKey = 39;
inline constexpr int kDownKey = 40;
inline constexpr int kDeleteKey = 46;

}  // namespace pelkor
