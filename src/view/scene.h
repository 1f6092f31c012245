// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include "base/geometry.h"
#include "model/module.h"
#include "view/draw_list.h"
#include "view/hit_map.h"
#include "view/run_state_reader.h"
#include "view/view_state.h"
#include "view/view_style.h"

namespace pelkor {

// The arc the user is drawing, in logical coordinates.
struct ArcInProgress {
  int source = 0;            // the object the arc starts on
  std::vector<Point> bends;  // the bend points clicked so far
  Point rubberEnd;           // where the rubber band ends
};

// What the editing tools add to a paint.
struct SceneOverlay {
  std::optional<ArcInProgress> arc;
  // The selection of the module painted; none when no selection is to be drawn.
  const Selection* selection = nullptr;
  // The logical positions of the objects the last stop found blocked.
  std::vector<Point> blockedObjects;
};

// One paint of the view.
struct Frame {
  // Drawn into the back buffer, which is then copied to the window in one go.
  DrawList picture;
  // Drawn on the window over the copy: the selected objects and arcs, and the dotted tracker
  // round the selected objects.
  DrawList overlay;
  // The tracker in client pixels, which the selection keeps as its frame; none without a
  // selected object.
  std::optional<Rect> trackerRect;
};

// Paints `module` as the view shows it and rebuilds `hitMap` (resized to the client size) in
// the same pass, so that a hit goes to what is drawn last; a picture no one points at (a
// printout, an SVG file) passes none. `simulation` is null unless a simulation runs; then it
// reads the run-time state of the node shown. `frame` keeps its storage from one paint to the
// next.
void PaintScene(const Module& module, const ViewState& view, const ViewStyle& style,
                const RunStateReader* simulation, const SceneOverlay& overlay, Frame& frame,
                HitMap* hitMap);

// The selection's tracker in client pixels: the bounding box of the selected objects' centres
// (logical), widened by half an object's box on every side.
Rect TrackerRect(const Rect& bounds, const ViewState& view);

// The hover frame around the object at `position` (logical), drawn on the window over the
// picture; empty at scales 16 and 32.
DrawList HoverFrame(Point position, const ViewState& view, const ViewStyle& style);

}  // namespace pelkor
