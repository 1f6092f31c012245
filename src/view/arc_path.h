// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "base/geometry.h"
#include "model/module.h"
#include "view/view_state.h"

namespace pelkor {

// Arcs stop this many logical units short of the centre of the object they point at.
inline constexpr int kArcGap = 27;

// The drawn line of an arc in client pixels: its start object's centre, every bend, and the
// point short of its end object where the last arrowhead sits. Empty when an end is gone.
std::vector<Point> ArcScreenPath(const Module& module, const Arc& arc, const ViewState& view);

// The arc whose drawn line passes within a few pixels of `pixel`, the last drawn (highest ID)
// when several do; 0 for none.
int ArcAt(const Module& module, const ViewState& view, Point pixel);

}  // namespace pelkor
