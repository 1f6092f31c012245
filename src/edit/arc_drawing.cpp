// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing arcs with the arc tool: starting, bending, the line to the pointer, and completing an
// arc with its port name.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "edit/arc_rules.h"
#include "edit/interaction_controller.h"
#include "view/arrow_geometry.h"

namespace pelkor {

namespace {

template <typename Map>
std::vector<std::string> KeysOf(const Map& map) {
  std::vector<std::string> keys;
  for (const auto& entry : map)
    keys.push_back(entry.first);
  return keys;
}

// The first arc out of `from` into `to`; nullptr when there is none.
Arc* ArcBetween(Module& module, int from, int to) {
  auto [begin, end] = module.arcsOutOf.equal_range(from);
  for (auto it = begin; it != end; ++it) {
    auto arc = module.arcs.find(it->second);
    if (arc != module.arcs.end() && arc->second.to == to)
      return &arc->second;
  }
  return nullptr;
}

}  // namespace

std::vector<std::string> InteractionController::PortNamesOf(int id, bool inputs) const {
  const Module& m = module();
  switch (m.KindOf(id)) {
    case kCounterKind: {
      const FunctionText& text = m.counters.at(id).countText;
      return KeysOf(inputs ? text.inputs : text.outputs);
    }
    case kStateMachineKind: {
      const StateMachine& machine = m.stateMachines.at(id);
      const std::set<std::string>& names = inputs ? machine.inputNames : machine.outputNames;
      return {names.begin(), names.end()};
    }
    case kInstanceKind: {
      // The ports of a module are its named sources and sinks.
      const std::string& name = m.instances.at(id).moduleName;
      if (!library_.Exists(name))
        return {};
      const Module& definition = library_.ModuleByName(name);
      std::set<std::string> names;
      if (inputs) {
        names = definition.SourceNames();
      } else {
        for (const auto& [sinkId, sink] : definition.sinks) {
          if (!sink.name.empty())
            names.insert(sink.name);
        }
      }
      return {names.begin(), names.end()};
    }
    default:
      return {};
  }
}

void InteractionController::ArcPress(int id) {
  Module& m = module();
  const ObjectKind kind = m.KindOf(id);
  if (!state_.arcInProgress) {
    if (kind != kSinkKind) {
      state_.arcSource = id;
      state_.arcInProgress = true;
    }
    return;
  }
  // A refused target leaves the arc in progress.
  if (!CanEndArcOn(id))
    return;
  CompleteArc(id);
  CancelArc();
  RecordEdit();
}

bool InteractionController::PressCompletesArc(Point pixel) const {
  if (state_.tool != Tool::kArc || simulating_ || !state_.arcInProgress)
    return false;
  const int id = ObjectAt(pixel);
  return id != 0 && module().PositionOf(state_.arcSource) != nullptr && CanEndArcOn(id);
}

bool InteractionController::CanEndArcOn(int id) const {
  const Module& m = module();
  const ObjectKind sourceKind = m.KindOf(state_.arcSource);
  const ObjectKind kind = m.KindOf(id);
  return kind != sourceKind && IsArcTargetAllowed(sourceKind, kind);
}

void InteractionController::CompleteArc(int target) {
  Module& m = module();
  const int source = state_.arcSource;
  const std::vector<Point> bends = state_.pendingBends;
  const ObjectKind sourceKind = m.KindOf(source);
  const ObjectKind targetKind = m.KindOf(target);
  if (sourceKind == kSourceKind) {  // never reuses an arc
    m.AddArc(source, target, bends, "");
    return;
  }
  const std::vector<std::string> names =
      sourceKind == kShiftRegisterKind ? PortNamesOf(target, true) : PortNamesOf(source, false);
  // A port of a module instance is always asked for; a counter or machine port only when there
  // is a choice. Cancel leaves everything as it was: no new arc, an existing one unchanged.
  const bool ask = sourceKind == kInstanceKind || targetKind == kInstanceKind || names.size() > 1;
  const Arc* existing = ArcBetween(m, source, target);
  std::string name = existing != nullptr ? existing->name : "";
  if (ask) {
    const std::optional<std::string> chosen = ui_.ChooseArcPort(names, name);
    if (!chosen)
      return;
    name = *chosen;
  }
  if (sourceKind == kShiftRegisterKind) {
    ShiftRegister& shiftRegister = m.shiftRegisters.at(source);
    const Point towards = bends.empty() ? *m.PositionOf(target) : bends.front();
    shiftRegister.direction =
        DirectionForArcFrom(settings_.shiftLine, shiftRegister.position, towards);
  }
  Arc* arc = ArcBetween(m, source, target);
  if (arc == nullptr)
    arc = &m.arcs.at(m.AddArc(source, target, bends, "") - 1);
  arc->name = name;
  arc->bends = bends;
}

void InteractionController::UpdateRubberEnd(Point pixel, bool ctrl) {
  const Module& m = module();
  const int id = ObjectAt(pixel);
  if (id != 0 && CanEndArcOn(id)) {
    // The line stops short of a target it may end on, as a finished arc does.
    const Point start =
        state_.pendingBends.empty() ? *m.PositionOf(state_.arcSource) : state_.pendingBends.back();
    state_.rubberEnd = PointBefore(start, *m.PositionOf(id), 27 / std::max(scale(), 1));
    if (state_.hoverStale)
      Repaint(Change::kOverlay);
    return;
  }
  state_.rubberEnd = ToLogical(pixel, ctrl);
  Repaint(Change::kOverlay);
}

}  // namespace pelkor
