// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/module.h"
#include "view/view_state.h"

namespace pelkor {

// Pictures larger than this many pixels a side are cut at the right and the bottom.
inline constexpr int kMaxPictureSide = 32768;

// A view that shows the whole of `module` at a zoom level (0 to 5): the bounding box of its
// primitives and arc bends with room around it for boxes and labels. Its origin is set
// directly; it does not scroll.
ViewState PictureView(const Module& module, int zoomLevel);

// Whether the module needs a larger picture than kMaxPictureSide at that zoom level.
bool PictureIsCut(const Module& module, int zoomLevel);

}  // namespace pelkor
