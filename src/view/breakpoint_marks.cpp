// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/breakpoint_marks.h"

#include <algorithm>

#include "base/saturating_point.h"
#include "view/view_style.h"

namespace pelkor {

namespace {

constexpr ColorRef kBreakpointColour = Rgb(220, 0, 0);

}  // namespace

void DrawBreakpointMarks(const Module& module, std::span<const BreakpointMark> marks,
                         const ViewState& view, DrawList& overlay) {
  const int half = kObjectSize / 2 / view.scale;
  const int radius = std::max(2, 6 / view.scale);
  for (const BreakpointMark& mark : marks) {
    const Point* position = module.PositionOf(mark.objectId);
    if (position == nullptr)
      continue;
    const Point corner = SaturatingSub(view.viewport().ToScreen(*position), Point{half, half});
    const Rect dot{corner.x - radius, corner.y - radius, corner.x + radius, corner.y + radius};
    overlay.Ellipse(dot, Pen{kBreakpointColour, 1},
                    mark.enabled ? std::optional<ColorRef>(kBreakpointColour) : std::nullopt);
  }
}

}  // namespace pelkor
