// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/geometry.h"
#include "view/viewport.h"

namespace pelkor {

// The side of an object's box in logical units.
inline constexpr int kObjectSize = 40;
// Zoom levels run from 0 (one logical unit per pixel) to 5 (32 units per pixel).
inline constexpr int kMaxZoomLevel = 5;

// The zoom and scroll state of the editor view and the size of its client area.
struct ViewState {
  int zoomLevel = 0;  // 0 to 5
  int scale = 1;      // 2 to the power zoomLevel: logical units per pixel
  Point baseOrigin;   // the scroll position: the origin zoom level 0 would have
  Point origin;       // logical coordinates of the client area's top-left pixel
  int width = 0;      // client size in pixels
  int height = 0;
  Rect scrollExtent;       // the logical rectangle the scroll bars cover
  bool extentSet = false;  // the first resize has set the extent
  bool showObjectIds = false;
  bool showSinkVerdicts = true;  // a sink's live verdict as a mark beside it, at scale 1

  Viewport viewport() const { return {origin, scale}; }
};

}  // namespace pelkor
