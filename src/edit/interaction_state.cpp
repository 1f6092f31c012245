// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/interaction_state.h"

namespace pelkor {

std::size_t SelectInRectangle(Module& module, const Viewport& view, const Rect& rect) {
  return module.selection.SelectWhere(module, [&](Point position) {
    const Point p = view.ToScreen(position);
    return rect.left <= p.x && p.x < rect.right && rect.top <= p.y && p.y < rect.bottom;
  });
}

}  // namespace pelkor
