// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/breakpoint_rows.h"

#include <algorithm>

namespace pelkor {

namespace {

// Every event the object can meet: a machine may also wait for each of its states.
std::vector<std::string> EventsOf(const Module& module, int id) {
  const ObjectKind kind = module.KindOf(id);
  std::vector<std::string> events;
  for (const BreakEvent event :
       {BreakEvent::kToken, BreakEvent::kFire, BreakEvent::kReceive, BreakEvent::kReceive0,
        BreakEvent::kReceive1, BreakEvent::kEmpty}) {
    if (EventFits(event, kind))
      events.push_back(EventText(event));
  }
  if (kind == kStateMachineKind) {
    for (const auto& [number, state] : module.stateMachines.at(id).states)
      events.push_back(EventText(BreakEvent::kState, number));
  }
  return events;
}

}  // namespace

std::vector<BreakpointRow> BreakpointRows(const ModuleLibrary& library,
                                          const BreakpointList& list) {
  std::vector<BreakpointRow> rows;
  for (const Breakpoint& breakpoint : list.items()) {
    BreakpointRow row;
    const bool known = library.Exists(breakpoint.module);
    const ObjectKind kind =
        known ? library.ModuleByName(breakpoint.module).KindOf(breakpoint.objectId) : kNoKind;
    row.place = (breakpoint.path ? *breakpoint.path : breakpoint.module + "（すべて）") + ' ' +
                ObjectLabel(kind, breakpoint.objectId);
    row.enabled = breakpoint.enabled;
    const std::string current = EventText(breakpoint.event, breakpoint.state);
    if (known && NaturalEvent(kind))
      row.events = EventsOf(library.ModuleByName(breakpoint.module), breakpoint.objectId);
    const auto it = std::find(row.events.begin(), row.events.end(), current);
    row.event = static_cast<std::size_t>(it - row.events.begin());
    if (it == row.events.end())
      row.events.push_back(current);
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace pelkor
