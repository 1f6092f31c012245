#pragma once

#include <cstddef>
#include <set>

#include "model/geometry.h"

namespace pelkor {

class Module;

// The group of primitives the editing commands act on. Each module carries one; every
// operation takes the module it belongs to.
struct Selection {
  Point anchor;   // client pixels, recorded by the selection tool
  Point current;  // client pixels, the current point of a drag
  std::set<int> selectedIds;
  Point origin;  // the view's origin and scale when a rubber-band selection started
  int scale = 1;
  Rect bounds;       // model coordinates: bounding box of the selected positions
  Rect trackerRect;  // client pixels, stored back by the paint

  // Selects one object; bounds becomes its position. Returns the number selected. An ID that
  // names no primitive is ignored.
  std::size_t Add(Module& module, int id);
  // Selects every primitive whose position, converted to pixels with the stored origin and
  // scale, lies in `rect` (left and top inclusive, right and bottom exclusive), growing bounds.
  // Kinds are walked in a fixed order: registers, machines, counters, sources, sinks, instances.
  std::size_t SelectInRectangle(Module& module, const Rect& rect);
  // Empties the selection and bounds and resets the `selected` flag of every primitive, also
  // the flags that align leaves behind.
  void Clear(Module& module);
  // Erases the selected primitives with their arcs and empties the set. Their kind entries stay,
  // as IDs are never reused.
  void DeleteSelected(Module& module);
  // Snaps every selected position to the centre of its grid cell, then empties the set; the
  // objects keep their `selected` flags until the next Clear.
  void AlignSelected(Module& module, int gridSize);
  // Moves the selected primitives, the bends of arcs between two of them and bounds by -delta.
  void MoveSelected(Module& module, Point delta);

  bool operator==(const Selection&) const = default;
};

}  // namespace pelkor
