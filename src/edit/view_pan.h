#pragma once

#include "base/geometry.h"
#include "view/view_state.h"

namespace pelkor {

// Moves the picture by a distance in pixels, so that it follows the pointer: the scroll position
// moves the other way by the distance times the scale; the origin follows and the scroll extent
// grows to cover what is shown.
void PanView(ViewState& view, Point pixels);

}  // namespace pelkor
