#pragma once

#include <cstddef>

#include "base/geometry.h"
#include "edit/tool.h"
#include "model/module.h"
#include "view/viewport.h"

namespace pelkor {

// What one view remembers between mouse events; points are client pixels.
struct InteractionState {
  Tool tool = Tool::kNone;
  Point anchor;   // where the selection's drag is measured from; copy keeps it as paste origin
  Point current;  // the current point of that drag
  Viewport selectionView;  // the view's origin and scale when a rubber-band selection started
  Rect trackerRect;        // the selection's frame as last painted
  Point lastPressPoint;    // where the left button was last pressed: the paste point
};

// Selects what a rubber band covers: every primitive whose position, converted to pixels with
// `view`, lies in `rect` (left and top inclusive, right and bottom exclusive).
std::size_t SelectInRectangle(Module& module, const Viewport& view, const Rect& rect);

}  // namespace pelkor
