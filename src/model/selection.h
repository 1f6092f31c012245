// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <set>

#include "base/geometry.h"

namespace pelkor {

class Module;

// The group of primitives the editing commands act on: the one record of what is selected, in
// model coordinates only (where the pointer was belongs to the view). Each module carries one,
// and the records themselves know nothing of it: selecting is no edit of the design.
struct Selection {
  std::set<int> selectedIds;
  Rect bounds;                 // model coordinates: bounding box of the selected positions
  std::set<int> selectedArcs;  // arc IDs; arcs have no position, so they leave bounds alone

  bool Empty() const { return selectedIds.empty() && selectedArcs.empty(); }
  // Selects one object; bounds becomes its position, or grows by it when objects are selected
  // already. Returns the number of objects selected. An ID that names no primitive is ignored.
  std::size_t Add(Module& module, int id);
  // Selects every primitive whose position `hit` accepts, growing bounds. Kinds are walked in a
  // fixed order: registers, machines, counters, sources, sinks, instances.
  std::size_t SelectWhere(Module& module, const std::function<bool(Point)>& hit);
  // Empties the selection (objects and arcs) and bounds.
  void Clear(Module& module);
  // Erases the selected arcs, then the selected primitives with their arcs, and empties both
  // sets. The primitives' kind entries stay, as IDs are never reused.
  void DeleteSelected(Module& module);
  // Snaps every selected position to the centre of its grid cell, then empties the selection.
  void AlignSelected(Module& module, int gridSize);
  // Moves the selected primitives, the bends of arcs between two of them and bounds by -delta.
  void MoveSelected(Module& module, Point delta);

  bool operator==(const Selection&) const = default;
};

}  // namespace pelkor
