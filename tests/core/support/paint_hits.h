#pragma once

#include "model/module.h"
#include "view/hit_map.h"
#include "view/view_state.h"

namespace pelkor::testing {

// Fills the hit map as a paint of the module does: each primitive's box, kind after kind in the
// order they are drawn, so that later ones win where boxes overlap.
inline void PaintHits(const Module& module, const ViewState& view, HitMap& hits) {
  hits.Clear();
  const Viewport viewport = view.viewport();
  const int half = 40 / (2 * view.scale);
  const auto mark = [&](const auto& records) {
    for (const auto& [id, record] : records)
      hits.MarkSquare(viewport.ToScreen(record.position), half, id);
  };
  mark(module.shiftRegisters);
  mark(module.stateMachines);
  mark(module.counters);
  mark(module.instances);
  mark(module.sources);
  mark(module.sinks);
}

}  // namespace pelkor::testing
