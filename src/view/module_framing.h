// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/module.h"
#include "view/view_state.h"

namespace pelkor {

// Shows a module from its start, at the zoom level shown: the top-left corner of its objects
// with room for their boxes and labels, on a multiple of kObjectSize so that the grid stays
// where it was; a module without objects from the logical origin.
void ShowModuleStart(ViewState& view, const Module& module);

// Zooms and scrolls so that all of the module's objects are in sight: the closest zoom level
// at which they fit, centred; at the farthest level, the top-left of those that do not.
// A module without objects is shown from the logical origin, one unit a pixel.
void ZoomToFit(ViewState& view, const Module& module);

// Scrolls, at the zoom level shown, so that an object at `position` (logical) is in sight with
// its box: a view that shows it already stays, another is centred on it.
void BringIntoView(ViewState& view, Point position);

}  // namespace pelkor
