// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/scene.h"

#include <cstdint>

#include "base/saturating_point.h"
#include "view/paint_context.h"

namespace pelkor {

namespace {

// The pixel offset of the first grid line from the client area's edge. When the origin lies
// on a line at or right of 0, that line is skipped and the next one comes first.
std::int64_t FirstGridLine(int origin, int gridSize, int scale) {
  const std::int64_t o = origin;
  return o >= 0 ? (gridSize - o % gridSize) / scale : (-o % gridSize) / scale;
}

void PaintTracker(const ViewState& view, const Rect& bounds, Frame& frame) {
  frame.trackerRect = TrackerRect(bounds, view);
  frame.overlay.Rectangle(*frame.trackerRect, Pen{kTrackerColour, 1, PenStyle::kDotted},
                          std::nullopt);
}

}  // namespace

void PaintGrid(PaintContext& paint) {
  const int scale = paint.scale();
  const int gridSize = paint.gridSize();
  // No grid beyond scale 4, nor one finer than a pixel, whose lines would never advance.
  if (scale > 4 || gridSize / scale < 1)
    return;
  const int step = gridSize / scale;
  const Pen pen = paint.PenOf(kGridColour);
  const int width = paint.width();
  const int height = paint.height();
  for (std::int64_t x = FirstGridLine(paint.origin().x, gridSize, scale); x <= width; x += step) {
    const int at = static_cast<int>(x);
    paint.out().Line({at, 0}, {at, height + gridSize}, pen);
  }
  for (std::int64_t y = FirstGridLine(paint.origin().y, gridSize, scale); y <= height; y += step) {
    const int at = static_cast<int>(y);
    paint.out().Line({0, at}, {width + gridSize, at}, pen);
  }
}

void PaintScene(const Module& module, const ViewState& view, const ViewStyle& style,
                const RunStateReader* simulation, const SceneOverlay& overlay, Frame& frame,
                HitMap* hitMap) {
  frame.picture.Reset(view.width, view.height, style.font);
  frame.overlay.Reset(view.width, view.height, style.font);
  frame.trackerRect.reset();
  if (hitMap != nullptr && hitMap->width() == view.width && hitMap->height() == view.height)
    hitMap->Clear();
  else if (hitMap != nullptr)
    hitMap->Resize(view.width, view.height);

  PaintContext paint(view, style, simulation, frame.picture, hitMap);
  frame.picture.FillRect({0, 0, view.width, view.height}, paint.Colour(kBackgroundColour));
  PaintGrid(paint);
  if (overlay.arc)
    PaintRubberBand(paint, module, *overlay.arc);
  PaintArcs(paint, module);
  PaintPrimitives(paint, module);
  PaintBlockedOutlines(paint, overlay.blockedObjects);
  if (overlay.selection != nullptr) {
    PaintContext above(view, style, nullptr, frame.overlay, nullptr);
    PaintSelection(above, module, *overlay.selection);
    if (!overlay.selection->selectedIds.empty())
      PaintTracker(view, overlay.selection->bounds, frame);
  }
}

Rect TrackerRect(const Rect& bounds, const ViewState& view) {
  const Viewport viewport = view.viewport();
  const Point widen{kObjectSize / view.scale / 2, kObjectSize / view.scale / 2};
  const Point from = SaturatingSub(viewport.ToScreen({bounds.left, bounds.top}), widen);
  const Point to = SaturatingAdd(viewport.ToScreen({bounds.right, bounds.bottom}), widen);
  return {from.x, from.y, to.x, to.y};
}

DrawList HoverFrame(Point position, const ViewState& view, const ViewStyle& style) {
  DrawList frame;
  frame.Reset(view.width, view.height, style.font);
  if (view.scale > 8)
    return frame;
  // The object's box and 3 pixels more on each side.
  const int half = (kObjectSize + 6) / 2 / view.scale;
  const Point at = view.viewport().ToScreen(position);
  const Point offset{half, half};
  const Point from = SaturatingSub(at, offset);
  const Point to = SaturatingAdd(at, offset);
  frame.Rectangle({from.x, from.y, to.x, to.y}, Pen{kHighlightColour, kHighlightPenWidth},
                  std::nullopt);
  return frame;
}

}  // namespace pelkor
