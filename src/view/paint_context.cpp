// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/paint_context.h"

namespace pelkor {

PaintContext::PaintContext(const ViewState& view, const ViewStyle& style,
                           const RunStateReader* simulation, DrawList& out, HitMap* hits)
    : view_(view),
      simulation_(simulation),
      out_(out),
      hits_(hits),
      selectionColour_(style.selection),
      penWidth_(PenWidthForScale(view.scale)),
      gridSize_(style.gridSize) {
  for (std::size_t number = 0; number < colours_.size(); ++number)
    colours_[number] = style.Colour(static_cast<int>(number));
}

bool PaintContext::Visible(Point logical, int marginX, int marginY) const {
  const std::int64_t x = logical.x;
  const std::int64_t y = logical.y;
  const Point o = origin();
  return o.x < x + marginX && x - marginX < std::int64_t{width()} * scale() + o.x &&
         o.y < y + marginY && y - marginY < std::int64_t{height()} * scale() + o.y;
}

}  // namespace pelkor
