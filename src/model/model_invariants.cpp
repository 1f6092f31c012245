// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/model_invariants.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>

#include <fmt/format.h>

namespace pelkor {

namespace {

bool BelowCounter(int id, int counter) {
  return id < counter || id == INT_MAX;
}

// Checks one arc map with its two indexes; `what` names the arcs in the description.
std::string ArcIndexViolation(const std::map<int, Arc>& arcs, const ArcIndex& into,
                              const ArcIndex& outOf, int nextArcId, const char* what) {
  auto timesFiled = [](const ArcIndex& index, int key, int arcId) {
    auto [begin, end] = index.equal_range(key);
    return std::count_if(begin, end, [arcId](const auto& entry) { return entry.second == arcId; });
  };
  for (const auto& [arcId, arc] : arcs) {
    if (!BelowCounter(arcId, nextArcId))
      return fmt::format("{} {} not below its counter {}", what, arcId, nextArcId);
    if (const auto n = timesFiled(into, arc.to, arcId); n != 1)
      return fmt::format("{} {} filed {} times in its into-index", what, arcId, n);
    if (const auto n = timesFiled(outOf, arc.from, arcId); n != 1)
      return fmt::format("{} {} filed {} times in its out-of-index", what, arcId, n);
  }
  for (const auto& [object, arcId] : into) {
    auto arc = arcs.find(arcId);
    if (arc == arcs.end() || arc->second.to != object)
      return fmt::format("into-index entry {}->{} names no such {}", object, arcId, what);
  }
  for (const auto& [object, arcId] : outOf) {
    auto arc = arcs.find(arcId);
    if (arc == arcs.end() || arc->second.from != object)
      return fmt::format("out-of-index entry {}->{} names no such {}", object, arcId, what);
  }
  return {};
}

template <typename Map>
std::string KindViolation(const Module& m, const Map& map, ObjectKind kind, const char* name) {
  for (const auto& [id, record] : map) {
    if (!BelowCounter(id, m.nextObjectId))
      return fmt::format("{} {} not below nextObjectId {}", name, id, m.nextObjectId);
    if (m.KindOf(id) != kind)
      return fmt::format("{} {} has kind entry {}", name, id, m.KindOf(id));
  }
  return {};
}

std::string MachineViolation(int id, const StateMachine& machine) {
  for (const auto& [stateId, state] : machine.states) {
    if (!BelowCounter(stateId, machine.nextStateId))
      return fmt::format("state {} of machine {} not below its counter", stateId, id);
  }
  return ArcIndexViolation(machine.stateArcs, machine.stateArcsInto, machine.stateArcsOutOf,
                           machine.nextStateArcId, "state arc");
}

}  // namespace

std::string ModuleInvariantViolation(const Module& m) {
  std::string violation = ArcIndexViolation(m.arcs, m.arcsInto, m.arcsOutOf, m.nextArcId, "arc");
  if (violation.empty())
    violation = KindViolation(m, m.stateMachines, kStateMachineKind, "state machine");
  if (violation.empty())
    violation = KindViolation(m, m.shiftRegisters, kShiftRegisterKind, "shift register");
  if (violation.empty())
    violation = KindViolation(m, m.counters, kCounterKind, "counter");
  if (violation.empty())
    violation = KindViolation(m, m.sources, kSourceKind, "source");
  if (violation.empty())
    violation = KindViolation(m, m.sinks, kSinkKind, "sink");
  if (violation.empty())
    violation = KindViolation(m, m.instances, kInstanceKind, "module instance");
  if (!violation.empty())
    return violation;
  for (const auto& [id, kind] : m.kinds) {
    if (!IsPrimitiveKind(kind))
      return fmt::format("kind entry {} holds {}", id, kind);
    if (!BelowCounter(id, m.nextObjectId))
      return fmt::format("kind entry {} not below nextObjectId {}", id, m.nextObjectId);
  }
  for (const auto& [id, machine] : m.stateMachines) {
    violation = MachineViolation(id, machine);
    if (!violation.empty())
      return violation;
  }
  return {};
}

std::string ArcEndsViolation(const Module& m) {
  for (const auto& [arcId, arc] : m.arcs) {
    if (m.PositionOf(arc.from) == nullptr || m.PositionOf(arc.to) == nullptr)
      return fmt::format("arc {} has a missing end", arcId);
    if ((m.KindOf(arc.from) == kShiftRegisterKind) == (m.KindOf(arc.to) == kShiftRegisterKind))
      return fmt::format("arc {} needs one register end", arcId);
  }
  return {};
}

void AssertModuleInvariants([[maybe_unused]] const Module& module) {
#ifndef NDEBUG
  const std::string violation = ModuleInvariantViolation(module);
  if (!violation.empty()) {
    std::fprintf(stderr, "module invariant broken: %s\n", violation.c_str());
    std::abort();
  }
#endif
}

}  // namespace pelkor
