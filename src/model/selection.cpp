// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/selection.h"

#include "base/saturating_point.h"
#include "model/module.h"

namespace pelkor {

namespace {

// Calls visit(id, record) for every primitive: registers, machines, counters, sources, sinks,
// instances, each map in ascending ID.
template <typename Visit>
void ForEachPrimitive(Module& module, Visit visit) {
  for (auto& [id, record] : module.shiftRegisters)
    visit(id, record);
  for (auto& [id, record] : module.stateMachines)
    visit(id, record);
  for (auto& [id, record] : module.counters)
    visit(id, record);
  for (auto& [id, record] : module.sources)
    visit(id, record);
  for (auto& [id, record] : module.sinks)
    visit(id, record);
  for (auto& [id, record] : module.instances)
    visit(id, record);
}

Rect PointRect(Point p) {
  return {p.x, p.y, p.x, p.y};
}

void Extend(Rect& rect, Point p) {
  if (p.y < rect.top) {
    rect.top = p.y;
  } else if (p.y > rect.bottom) {
    rect.bottom = p.y;
  }
  if (p.x < rect.left) {
    rect.left = p.x;
  } else if (p.x > rect.right) {
    rect.right = p.x;
  }
}

void EraseFromKindMap(Module& module, int id, ObjectKind kind) {
  switch (kind) {
    case kStateMachineKind:
      module.stateMachines.erase(id);
      break;
    case kShiftRegisterKind:
      module.shiftRegisters.erase(id);
      break;
    case kCounterKind:
      module.counters.erase(id);
      break;
    case kSourceKind:
      module.sources.erase(id);
      break;
    case kSinkKind:
      module.sinks.erase(id);
      break;
    case kInstanceKind:
      module.instances.erase(id);
      break;
    default:
      break;
  }
}

}  // namespace

std::size_t Selection::Add(Module& module, int id) {
  const Point* position = module.PositionOf(id);
  if (position == nullptr)
    return selectedIds.size();
  if (selectedIds.empty())
    bounds = PointRect(*position);
  else
    Extend(bounds, *position);
  selectedIds.insert(id);
  return selectedIds.size();
}

std::size_t Selection::SelectWhere(Module& module, const std::function<bool(Point)>& hit) {
  ForEachPrimitive(module, [&](int id, auto& record) {
    if (!hit(record.position))
      return;
    if (selectedIds.empty()) {
      bounds = PointRect(record.position);
    } else {
      Extend(bounds, record.position);
    }
    selectedIds.insert(id);
  });
  return selectedIds.size();
}

void Selection::Clear(Module& /*module*/) {
  bounds = Rect{};
  selectedIds.clear();
  selectedArcs.clear();
}

void Selection::DeleteSelected(Module& module) {
  for (int arcId : selectedArcs)
    RemoveArc(module.arcs, module.arcsInto, module.arcsOutOf, arcId);
  selectedArcs.clear();
  for (int id : selectedIds) {
    EraseFromKindMap(module, id, module.KindOf(id));
    module.RemoveArcsOf(id);
  }
  selectedIds.clear();
}

void Selection::AlignSelected(Module& module, int gridSize) {
  for (int id : selectedIds) {
    if (Point* position = module.PositionOf(id))
      *position = SnapToCell(*position, gridSize);
  }
  Clear(module);
}

void Selection::MoveSelected(Module& module, Point delta) {
  for (int id : selectedIds) {
    if (Point* position = module.PositionOf(id))
      *position = SaturatingSub(*position, delta);
    // Each arc leaves exactly one object, so walking the out-index visits every arc once.
    auto [begin, end] = module.arcsOutOf.equal_range(id);
    for (auto entry = begin; entry != end; ++entry) {
      auto arc = module.arcs.find(entry->second);
      if (arc == module.arcs.end() || !selectedIds.contains(arc->second.to))
        continue;
      for (Point& bend : arc->second.bends)
        bend = SaturatingSub(bend, delta);
    }
  }
  if (selectedIds.empty())
    return;
  const Point topLeft = SaturatingSub({bounds.left, bounds.top}, delta);
  const Point bottomRight = SaturatingSub({bounds.right, bounds.bottom}, delta);
  bounds = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

}  // namespace pelkor
