// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>

#include "model/module.h"
#include "view/draw_list.h"
#include "view/view_state.h"

namespace pelkor {

// A breakpoint's mark on the object it is set on.
struct BreakpointMark {
  int objectId = 0;
  bool enabled = true;
};

// A red dot at the upper left corner of each marked object of the module shown: filled when
// the breakpoint is enabled, a ring when not. Objects that are gone are passed over.
void DrawBreakpointMarks(const Module& module, std::span<const BreakpointMark> marks,
                         const ViewState& view, DrawList& overlay);

}  // namespace pelkor
