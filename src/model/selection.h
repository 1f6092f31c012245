#pragma once

#include <set>

#include "model/geometry.h"

namespace pelkor {

// The group of primitives the editing commands act on. The operations on it live with the
// editing commands; a module only carries the data.
struct Selection {
  Point anchor;   // client pixels, recorded by the selection tool
  Point current;  // client pixels, the current point of a drag
  std::set<int> selectedIds;
  Point origin;   // the view's origin and scale when a rubber-band selection started
  int scale = 1;
  Rect bounds;    // model coordinates: bounding box of the selected positions
  Rect trackerRect;  // client pixels, stored back by the paint

  bool operator==(const Selection&) const = default;
};

}  // namespace pelkor
