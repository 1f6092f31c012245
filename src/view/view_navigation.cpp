#include "view/view_navigation.h"

#include <algorithm>
#include <cstdint>

#include "base/saturating_point.h"

namespace pelkor {

namespace {

// Scroll steps in pixels at the current scale.
constexpr int kLineStep = 10;
constexpr int kPageStep = 30;

int& AxisOf(Point& p, ScrollAxis axis) {
  return axis == ScrollAxis::kHorizontal ? p.x : p.y;
}

void ScrollMoved(ViewState& view) {
  UpdateOrigin(view);
  GrowScrollExtent(view);
}

}  // namespace

void UpdateOrigin(ViewState& view) {
  view.zoomLevel = std::clamp(view.zoomLevel, 0, kMaxZoomLevel);
  std::int64_t x = view.baseOrigin.x;
  std::int64_t y = view.baseOrigin.y;
  for (int i = 0; i < view.zoomLevel; ++i) {
    x -= (std::int64_t{1} << i) * view.width / 2;
    y -= (std::int64_t{1} << i) * view.height / 2;
  }
  view.origin = {SaturateToInt(x), SaturateToInt(y)};
  view.scale = 1 << view.zoomLevel;
}

bool ZoomIn(ViewState& view) {
  if (view.zoomLevel <= 0)
    return false;
  --view.zoomLevel;
  UpdateOrigin(view);
  return true;
}

bool ZoomOut(ViewState& view) {
  if (view.zoomLevel >= kMaxZoomLevel)
    return false;
  ++view.zoomLevel;
  UpdateOrigin(view);
  return true;
}

bool ZoomByWheel(ViewState& view, int wheelDelta) {
  if (wheelDelta == 0)
    return false;
  return wheelDelta < 0 ? ZoomIn(view) : ZoomOut(view);
}

bool Scroll(ViewState& view, ScrollAxis axis, ScrollRequest request, int thumbPosition) {
  int& position = AxisOf(view.baseOrigin, axis);
  const std::int64_t scale = view.scale;
  switch (request) {
    case ScrollRequest::kLineBack:
      position = SaturateToInt(position - kLineStep * scale);
      break;
    case ScrollRequest::kLineForward:
      position = SaturateToInt(position + kLineStep * scale);
      break;
    case ScrollRequest::kPageBack:
      position = SaturateToInt(position - kPageStep * scale);
      break;
    case ScrollRequest::kPageForward:
      position = SaturateToInt(position + kPageStep * scale);
      break;
    case ScrollRequest::kThumbTrack:
      position = thumbPosition;
      break;
    case ScrollRequest::kThumbRelease:
      return false;
  }
  ScrollMoved(view);
  return true;
}

void PanByPixels(ViewState& view, Point deltaPixels) {
  const std::int64_t scale = view.scale;
  view.baseOrigin = {SaturateToInt(view.baseOrigin.x - deltaPixels.x * scale),
                     SaturateToInt(view.baseOrigin.y - deltaPixels.y * scale)};
  ScrollMoved(view);
}

void ResizeView(ViewState& view, int width, int height) {
  view.width = std::max(width, 0);
  view.height = std::max(height, 0);
  if (!view.extentSet) {
    view.scrollExtent = {0, 0, view.width, view.height};
    view.extentSet = true;
  }
}

void GrowScrollExtent(ViewState& view) {
  // The far edges add the client size in pixels, not in logical units, so at the higher zoom
  // levels the extent covers less than is visible.
  Rect& extent = view.scrollExtent;
  extent.right = std::max(extent.right, SaturateToInt(std::int64_t{view.origin.x} + view.width));
  extent.bottom = std::max(extent.bottom, SaturateToInt(std::int64_t{view.origin.y} + view.height));
  extent.top = std::min(extent.top, view.origin.y);
  extent.left = std::min(extent.left, view.origin.x);
}

int ScrollBarState::LastPosition() const {
  return std::max(minimum, SaturateToInt(std::int64_t{maximum} - page + 1));
}

ScrollBarState HorizontalScrollBar(const ViewState& view) {
  return {view.scrollExtent.left, view.scrollExtent.right,
          SaturateToInt(std::int64_t{view.width} * view.scale), view.baseOrigin.x};
}

ScrollBarState VerticalScrollBar(const ViewState& view) {
  return {view.scrollExtent.top, view.scrollExtent.bottom,
          SaturateToInt(std::int64_t{view.height} * view.scale), view.baseOrigin.y};
}

}  // namespace pelkor
