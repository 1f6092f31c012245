// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/view_navigation.h"

#include <algorithm>
#include <cstdint>

#include "base/saturating_point.h"

namespace pelkor {

namespace {

// A line or page of the scroll bars in pixels at the current scale.
int StepPixels(ScrollRequest request) {
  switch (request) {
    case ScrollRequest::kLineBack:
      return -10;
    case ScrollRequest::kLineForward:
      return 10;
    case ScrollRequest::kPageBack:
      return -30;
    case ScrollRequest::kPageForward:
      return 30;
    default:
      return 0;
  }
}

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

void MoveOriginTo(ViewState& view, Point origin) {
  // The origin follows the base origin one to one at any zoom level.
  view.baseOrigin = {SaturateToInt(std::int64_t{view.baseOrigin.x} + origin.x - view.origin.x),
                     SaturateToInt(std::int64_t{view.baseOrigin.y} + origin.y - view.origin.y)};
  ScrollMoved(view);
}

bool ZoomByWheelAt(ViewState& view, int wheelDelta, Point pointer) {
  const Point held = view.viewport().ToLogical(pointer);
  if (!ZoomByWheel(view, wheelDelta))
    return false;
  const std::int64_t scale = view.scale;
  MoveOriginTo(
      view, {SaturateToInt(held.x - pointer.x * scale), SaturateToInt(held.y - pointer.y * scale)});
  return true;
}

bool TurnWheel(ViewState& view, WheelHabit habit, const WheelTurn& turn) {
  switch (habit) {
    case WheelHabit::kZoom:
      return ZoomByWheelAt(view, turn.delta, turn.pointer);
    case WheelHabit::kZoomReversed:
      return ZoomByWheelAt(view, -turn.delta, turn.pointer);
    case WheelHabit::kScroll:
      break;
  }
  if (turn.ctrl)
    return ZoomByWheelAt(view, -turn.delta, turn.pointer);
  if (turn.delta == 0)
    return false;
  // A notch moves the picture by one object's size on the screen.
  const int pixels = turn.delta * kObjectSize / 120;
  PanByPixels(view, turn.shift ? Point{pixels, 0} : Point{0, pixels});
  return true;
}

bool Scroll(ViewState& view, ScrollAxis axis, ScrollRequest request, int thumbPosition) {
  if (request == ScrollRequest::kThumbRelease)
    return false;
  int& position = AxisOf(view.baseOrigin, axis);
  if (request == ScrollRequest::kThumbTrack)
    position = thumbPosition;
  else
    position = SaturateToInt(position + std::int64_t{StepPixels(request)} * view.scale);
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
