// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "edit/tool.h"
#include "model/module.h"
#include "view/viewport.h"

namespace pelkor {

// What one view remembers between mouse and key events. Points are client pixels unless a field
// says logical. Whether a selection exists and whether something can be pasted are not kept here:
// the module's selection and the clipboard answer them.
struct InteractionState {
  Tool tool = Tool::kNone;  // the view's mode
  int lastKey = 0;          // key code of the last key pressed; 0 once any key is released

  // Moving the selection.
  bool dragging = false;     // the selected objects follow the pointer
  bool dragStarted = false;  // the current drag has seen its first move
  Point dragPoint;           // the last point a drag has moved the selection to
  Point anchor;   // where the selection's drag is measured from; copy keeps it as paste origin
  Point current;  // the current point of that drag

  // Selecting with a rectangle: from `anchor` to the pointer while the left button is down.
  bool selectingRectangle = false;
  Point rectangleCorner;   // the corner under the pointer, for drawing the band
  Viewport selectionView;  // the view's origin and scale when the rectangle was started

  bool panning = false;  // middle-button panning
  Point panPoint;        // the pointer's last position while panning

  int contextObject = 0;  // the object a context menu was opened on; 0 when none
  Point lastPressPoint;   // where the left button was last pressed: the paste point

  // Drawing an arc.
  int arcSource = 0;
  bool arcInProgress = false;
  std::vector<Point> pendingBends;  // logical
  Point rubberEnd;                  // logical: where the line to the pointer ends
  // The arc as it was before the last left press: the first press of a double-click was meant
  // for the object, so the double-click puts the arc back.
  struct ArcDraft {
    int source = 0;
    bool inProgress = false;
    std::vector<Point> bends;
  };
  ArcDraft arcBeforePress;

  // Hover feedback.
  bool hoverStale = true;   // no hover frame is shown, or the scene must be redrawn to remove it
  int hoverObject = 0;      // the object the hover frame is drawn around; 0 for none
  std::string tooltipText;  // empty hides the tooltip
};

// Selects what a rubber band covers: every primitive whose position, converted to pixels with
// `view`, lies in `rect` (left and top inclusive, right and bottom exclusive).
std::size_t SelectInRectangle(Module& module, const Viewport& view, const Rect& rect);

}  // namespace pelkor
