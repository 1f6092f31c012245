// SPDX-License-Identifier: GPL-3.0-or-later
// The selection drawn over the picture: a thick outline round each selected object's box and
// each selected arc retraced thick, both in the selection colour.
#include "base/saturating_point.h"
#include "view/arc_path.h"
#include "view/paint_context.h"

namespace pelkor {

void PaintSelection(PaintContext& paint, const Module& module, const Selection& selection) {
  const Pen pen{paint.selectionColour(), PenWidthForScale(paint.scale()) + kSelectionPenExtra};
  for (int arcId : selection.selectedArcs) {
    if (const auto arc = module.arcs.find(arcId); arc != module.arcs.end())
      PaintArcPath(paint, ArcScreenPath(module, arc->second, paint.view()), pen);
  }
  // The object's box and 4 pixels more on each side, clear of its own outline.
  const int half = kObjectSize / 2 / paint.scale() + 4;
  for (int id : selection.selectedIds) {
    const Point* position = module.PositionOf(id);
    if (position == nullptr || !paint.Visible(*position, kObjectSize, kObjectSize))
      continue;
    const Point at = paint.Screen(*position);
    const Point from = SaturatingSub(at, {half, half});
    const Point to = SaturatingAdd(at, {half + 1, half + 1});
    paint.out().Rectangle({from.x, from.y, to.x, to.y}, pen, std::nullopt);
  }
}

}  // namespace pelkor
