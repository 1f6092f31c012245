#include "edit/view_pan.h"

#include <algorithm>
#include <cstdint>

#include "base/saturating_point.h"

namespace pelkor {

namespace {

// The origin at the current zoom keeps the logical point at the centre of the client area where
// zoom level 0 has it.
Point OriginFromZoom(const ViewState& view) {
  std::int64_t x = view.baseOrigin.x;
  std::int64_t y = view.baseOrigin.y;
  for (int i = 0; i < view.zoomLevel; ++i) {
    x -= (std::int64_t{1} << i) * view.width / 2;
    y -= (std::int64_t{1} << i) * view.height / 2;
  }
  return {SaturateToInt(x), SaturateToInt(y)};
}

}  // namespace

void PanView(ViewState& view, Point pixels) {
  const std::int64_t scale = view.scale;
  view.baseOrigin = SaturatingSub(
      view.baseOrigin, {SaturateToInt(pixels.x * scale), SaturateToInt(pixels.y * scale)});
  view.origin = OriginFromZoom(view);
  Rect& extent = view.scrollExtent;
  extent.right = std::max(extent.right, SaturateToInt(std::int64_t{view.origin.x} + view.width));
  extent.bottom = std::max(extent.bottom, SaturateToInt(std::int64_t{view.origin.y} + view.height));
  extent.top = std::min(extent.top, view.origin.y);
  extent.left = std::min(extent.left, view.origin.x);
}

}  // namespace pelkor
