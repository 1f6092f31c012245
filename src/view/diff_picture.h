// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "model/module.h"
#include "model/module_diff.h"
#include "view/draw_list.h"
#include "view/view_state.h"
#include "view/view_style.h"

namespace pelkor {

inline constexpr ColorRef kAddedColour = Rgb(0, 160, 0);
inline constexpr ColorRef kChangedColour = Rgb(230, 150, 0);
inline constexpr ColorRef kRemovedColour = Rgb(220, 0, 0);
inline constexpr ColorRef kOldPlaceColour = Rgb(110, 110, 110);

// The newer version of a module as the view draws it, with what `changes` says differs from
// the older one marked: added objects and arcs redrawn in green, changed ones in amber, a
// faint dotted box where a moved object stood, and removed objects and arcs as red outlines
// at their old places. The picture is large enough for both versions.
DrawList DiffPicture(const Module& before, const Module& after,
                     const std::vector<ObjectChange>& changes, const ViewStyle& style,
                     int zoomLevel);

// The view the picture is drawn in: large enough for both versions at the zoom level.
ViewState DiffPictureView(const Module& before, const Module& after,
                          const std::vector<ObjectChange>& changes, int zoomLevel);

}  // namespace pelkor
