// SPDX-License-Identifier: GPL-3.0-or-later
// The outline around each object that the last stop found blocked.
#include <algorithm>

#include "view/paint_context.h"

namespace pelkor {

void PaintBlockedOutlines(PaintContext& paint, std::span<const Point> positions) {
  // Wider than the hover frame, so that both show around the same object.
  const int half = std::max((kObjectSize + 16) / 2 / paint.scale(), 3);
  const Pen pen{kBlockedColour, kHighlightPenWidth};
  for (const Point position : positions) {
    if (!paint.Visible(position, kObjectSize, kObjectSize))
      continue;
    const Point at = paint.Screen(position);
    paint.out().Rectangle({at.x - half, at.y - half, at.x + half, at.y + half}, pen, std::nullopt);
  }
}

}  // namespace pelkor
