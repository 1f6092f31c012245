#pragma once

#include <algorithm>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "model/module.h"

namespace pelkor::testing {

// The structural invariants of a module that every operation must keep:
// - every arc is filed exactly once under its `to` in arcsInto and once under its `from` in
//   arcsOutOf, and every index entry names an existing arc filed under the right end;
// - `kinds` maps every primitive to the code of the map holding it (so no ID stands in two
//   maps), and holds nothing but primitive codes. A `kinds` entry without a primitive is allowed:
//   deleting through the selection leaves it, and IDs are never reused;
// - no ID has reached the counters: IDs are below nextObjectId and arc IDs below nextArcId.
// Use as EXPECT_TRUE(ModuleInvariantsHold(module)) << "after step " << i;
inline ::testing::AssertionResult ModuleInvariantsHold(const Module& m) {
  auto fail = [] { return ::testing::AssertionFailure(); };
  auto timesFiled = [](const std::multimap<int, int>& index, int key, int arcId) {
    auto [begin, end] = index.equal_range(key);
    return std::count_if(begin, end, [arcId](const auto& entry) { return entry.second == arcId; });
  };
  for (const auto& [arcId, arc] : m.arcs) {
    if (arcId >= m.nextArcId)
      return fail() << "arc " << arcId << " not below nextArcId";
    if (const auto n = timesFiled(m.arcsInto, arc.to, arcId); n != 1)
      return fail() << "arc " << arcId << " filed " << n << "x in arcsInto";
    if (const auto n = timesFiled(m.arcsOutOf, arc.from, arcId); n != 1)
      return fail() << "arc " << arcId << " filed " << n << "x in arcsOutOf";
  }
  for (const auto& [object, arcId] : m.arcsInto) {
    auto arc = m.arcs.find(arcId);
    if (arc == m.arcs.end() || arc->second.to != object)
      return fail() << "arcsInto entry " << object << "->" << arcId << " names no such arc";
  }
  for (const auto& [object, arcId] : m.arcsOutOf) {
    auto arc = m.arcs.find(arcId);
    if (arc == m.arcs.end() || arc->second.from != object)
      return fail() << "arcsOutOf entry " << object << "->" << arcId << " names no such arc";
  }

  auto checkMap = [&](const auto& map, ObjectKind kind,
                      const char* name) -> ::testing::AssertionResult {
    for (const auto& [id, record] : map) {
      if (id >= m.nextObjectId)
        return fail() << name << " " << id << " not below nextObjectId";
      if (m.KindOf(id) != kind)
        return fail() << name << " " << id << " has kind entry " << m.KindOf(id);
    }
    return ::testing::AssertionSuccess();
  };
  for (auto result :
       {checkMap(m.stateMachines, kStateMachineKind, "state machine"),
        checkMap(m.shiftRegisters, kShiftRegisterKind, "shift register"),
        checkMap(m.counters, kCounterKind, "counter"), checkMap(m.sources, kSourceKind, "source"),
        checkMap(m.sinks, kSinkKind, "sink"),
        checkMap(m.instances, kInstanceKind, "module instance")}) {
    if (!result)
      return result;
  }
  for (const auto& [id, kind] : m.kinds) {
    if (!IsPrimitiveKind(kind))
      return fail() << "kind entry " << id << " holds " << kind;
    if (id >= m.nextObjectId)
      return fail() << "kind entry " << id << " not below nextObjectId";
  }
  return ::testing::AssertionSuccess();
}

// Every arc joins two existing primitives, one of them a shift register. This holds for
// modules built by the editing operations; a file may still hold arcs that break it.
inline ::testing::AssertionResult ArcsJoinExistingPrimitives(const Module& m) {
  for (const auto& [arcId, arc] : m.arcs) {
    if (m.PositionOf(arc.from) == nullptr || m.PositionOf(arc.to) == nullptr)
      return ::testing::AssertionFailure() << "arc " << arcId << " has a missing end";
    if ((m.KindOf(arc.from) == kShiftRegisterKind) == (m.KindOf(arc.to) == kShiftRegisterKind))
      return ::testing::AssertionFailure() << "arc " << arcId << " needs one register end";
  }
  return ::testing::AssertionSuccess();
}

}  // namespace pelkor::testing
