// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/picture_view.h"

#include <algorithm>
#include <cstdint>

#include "base/saturating_point.h"

namespace pelkor {

namespace {

struct Extent {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;
  bool empty = true;

  void Include(Point p) {
    left = empty ? p.x : std::min<std::int64_t>(left, p.x);
    top = empty ? p.y : std::min<std::int64_t>(top, p.y);
    right = empty ? p.x : std::max<std::int64_t>(right, p.x);
    bottom = empty ? p.y : std::max<std::int64_t>(bottom, p.y);
    empty = false;
  }
};

template <typename Records>
void IncludePositions(Extent& extent, const Records& records) {
  for (const auto& [id, record] : records)
    extent.Include(record.position);
}

Extent DesignExtent(const Module& module) {
  Extent extent;
  IncludePositions(extent, module.shiftRegisters);
  IncludePositions(extent, module.stateMachines);
  IncludePositions(extent, module.counters);
  IncludePositions(extent, module.instances);
  IncludePositions(extent, module.sources);
  IncludePositions(extent, module.sinks);
  for (const auto& [id, arc] : module.arcs) {
    for (const Point& bend : arc.bends)
      extent.Include(bend);
  }
  return extent;
}

// Room around the design, in pixels: half a box and the labels beside it.
std::int64_t MarginPixels(int scale) {
  return 80 / scale + 10;
}

struct PictureSize {
  std::int64_t width;
  std::int64_t height;
};

PictureSize FullSize(const Extent& extent, int scale) {
  const std::int64_t margins = 2 * MarginPixels(scale) + 1;
  return {(extent.right - extent.left) / scale + margins,
          (extent.bottom - extent.top) / scale + margins};
}

int ZoomLevelInRange(int zoomLevel) {
  return std::clamp(zoomLevel, 0, kMaxZoomLevel);
}

}  // namespace

ViewState PictureView(const Module& module, int zoomLevel) {
  ViewState view;
  view.zoomLevel = ZoomLevelInRange(zoomLevel);
  view.scale = 1 << view.zoomLevel;
  const Extent extent = DesignExtent(module);
  const std::int64_t margin = MarginPixels(view.scale) * view.scale;
  view.origin = {SaturateToInt(extent.left - margin), SaturateToInt(extent.top - margin)};
  view.baseOrigin = view.origin;
  const PictureSize size = FullSize(extent, view.scale);
  view.width = static_cast<int>(std::min<std::int64_t>(size.width, kMaxPictureSide));
  view.height = static_cast<int>(std::min<std::int64_t>(size.height, kMaxPictureSide));
  return view;
}

bool PictureIsCut(const Module& module, int zoomLevel) {
  const PictureSize size = FullSize(DesignExtent(module), 1 << ZoomLevelInRange(zoomLevel));
  return size.width > kMaxPictureSide || size.height > kMaxPictureSide;
}

}  // namespace pelkor
