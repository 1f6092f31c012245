// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/module_framing.h"

#include <algorithm>
#include <cstdint>

#include "base/saturating_point.h"
#include "view/picture_view.h"
#include "view/view_navigation.h"

namespace pelkor {

namespace {

bool HasObjects(const Module& module) {
  return module.PrimitiveCount() > 0;
}

// The largest multiple of `step` not above `value`.
int FloorTo(int value, int step) {
  const int remainder = value % step;
  return remainder < 0 ? value - remainder - step : value - remainder;
}

void SetZoomLevel(ViewState& view, int zoomLevel) {
  view.zoomLevel = zoomLevel;
  UpdateOrigin(view);
}

}  // namespace

void ShowModuleStart(ViewState& view, const Module& module) {
  if (!HasObjects(module)) {
    MoveOriginTo(view, {0, 0});
    return;
  }
  const Point corner = PictureView(module, view.zoomLevel).origin;
  MoveOriginTo(view, {FloorTo(corner.x, kObjectSize), FloorTo(corner.y, kObjectSize)});
}

void ZoomToFit(ViewState& view, const Module& module) {
  if (!HasObjects(module)) {
    SetZoomLevel(view, 0);
    MoveOriginTo(view, {0, 0});
    return;
  }
  int level = 0;
  ViewState picture = PictureView(module, level);
  while (level < kMaxZoomLevel && (picture.width > view.width || picture.height > view.height))
    picture = PictureView(module, ++level);
  SetZoomLevel(view, level);
  const std::int64_t scale = view.scale;
  // Centred where it fits; a side that does not fit starts at the objects' top-left.
  const std::int64_t spareX = std::max(0, view.width - picture.width) / 2;
  const std::int64_t spareY = std::max(0, view.height - picture.height) / 2;
  MoveOriginTo(view, {SaturateToInt(picture.origin.x - spareX * scale),
                      SaturateToInt(picture.origin.y - spareY * scale)});
}

void BringIntoView(ViewState& view, Point position) {
  const std::int64_t scale = view.scale;
  const std::int64_t half = kObjectSize / 2;
  const auto inSight = [&](std::int64_t at, int origin, int pixels) {
    return origin <= at - half && at + half <= origin + pixels * scale;
  };
  if (inSight(position.x, view.origin.x, view.width) &&
      inSight(position.y, view.origin.y, view.height))
    return;
  MoveOriginTo(view, {SaturateToInt(position.x - view.width / 2 * scale),
                      SaturateToInt(position.y - view.height / 2 * scale)});
}

}  // namespace pelkor
