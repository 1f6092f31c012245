// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/module.h"

#include <gtest/gtest.h>

namespace pelkor {
namespace {

// Every arc is filed once under its `to` in arcsInto and once under its `from` in arcsOutOf,
// and every index entry names an existing arc.
void ExpectIndexesConsistent(const Module& m) {
  for (const auto& [id, arc] : m.arcs) {
    EXPECT_EQ(
        std::count(m.arcsInto.begin(), m.arcsInto.end(), std::pair<const int, int>(arc.to, id)), 1);
    EXPECT_EQ(
        std::count(m.arcsOutOf.begin(), m.arcsOutOf.end(), std::pair<const int, int>(arc.from, id)),
        1);
  }
  for (const auto& [object, arcId] : m.arcsInto)
    EXPECT_TRUE(m.arcs.contains(arcId));
  for (const auto& [object, arcId] : m.arcsOutOf)
    EXPECT_TRUE(m.arcs.contains(arcId));
}

TEST(ModuleTest, IdsStartAtOneAndAreNeverReused) {
  Module m;
  EXPECT_EQ(m.AddShiftRegister({}), 1);
  EXPECT_EQ(m.AddSource({}), 2);
  EXPECT_EQ(m.AddSink({}), 3);
  EXPECT_EQ(m.AddArc(2, 1, {}, ""), 2);  // AddArc returns the counter after the new arc
  EXPECT_EQ(m.arcs.begin()->first, 1);

  m.sources.erase(2);
  m.RemoveArcsOf(2);
  EXPECT_EQ(m.AddCounter({}), 4);
  EXPECT_EQ(m.AddArc(1, 4, {}, "x"), 3);
  EXPECT_EQ(m.kinds.at(1), kShiftRegisterKind);
  EXPECT_EQ(m.kinds.at(3), kSinkKind);
  EXPECT_EQ(m.kinds.at(4), kCounterKind);
}

TEST(ModuleTest, AddMovesTheCopyByTheOffset) {
  Module m;
  SinkTransition sink;
  sink.position = {10, -4};
  const int id = m.AddSink(sink, {5, 7});
  EXPECT_EQ(m.sinks.at(id).position, (Point{15, 3}));
  EXPECT_EQ(sink.position, (Point{10, -4}));
}

TEST(ModuleTest, RemoveArcsOfLeavesOtherArcsAlone) {
  Module m;
  const int reg1 = m.AddShiftRegister({});
  const int reg2 = m.AddShiftRegister({});
  const int machine = m.AddStateMachine({});
  const int reg3 = m.AddShiftRegister({});
  const int counter = m.AddCounter({});
  m.AddArc(reg1, machine, {}, "a");        // arc 1
  m.AddArc(reg2, machine, {}, "b");        // arc 2
  m.AddArc(machine, reg3, {{1, 2}}, "c");  // arc 3
  m.AddArc(reg3, counter, {}, "d");        // arc 4
  m.AddArc(counter, reg1, {}, "e");        // arc 5

  m.RemoveArcsOf(machine);

  EXPECT_EQ(m.arcs.size(), 2u);
  EXPECT_TRUE(m.arcs.contains(4));
  EXPECT_TRUE(m.arcs.contains(5));
  for (const auto& [object, arcId] : m.arcsInto)
    EXPECT_GE(arcId, 4);
  for (const auto& [object, arcId] : m.arcsOutOf)
    EXPECT_GE(arcId, 4);
  ExpectIndexesConsistent(m);
}

TEST(ModuleTest, PrimitiveCountCountsTheSixKindsButNotArcs) {
  Module m;
  m.AddShiftRegister({});
  m.AddStateMachine({});
  m.AddCounter({});
  m.AddSource({});
  m.AddSink({});
  m.AddInstance({});
  m.AddArc(4, 1, {}, "");
  m.AddArc(1, 5, {}, "");
  EXPECT_EQ(m.PrimitiveCount(), 6u);
}

TEST(ModuleTest, SourceNamesAndNewSource) {
  Module m;
  SourceTransition source;
  m.AddSource(source);
  source.name = "delete";
  m.AddSource(source);
  EXPECT_FALSE(m.HasNewSource());
  source.name = "new";
  m.AddSource(source);
  source.name = "newer";
  m.AddSource(source);
  EXPECT_TRUE(m.HasNewSource());
  EXPECT_EQ(m.SourceNames(), (std::set<std::string>{"delete", "new", "newer"}));
}

TEST(ModuleTest, DefaultsOfNewRecords) {
  ShiftRegister r;
  EXPECT_EQ(r.size, 1);
  EXPECT_EQ(r.direction, 1);
  EXPECT_FALSE(r.sizeFixed);
  EXPECT_EQ(Counter{}.countNumber, 1);
  EXPECT_EQ(SinkTransition{}.outputMode, 0);
  StateMachine machine;
  EXPECT_EQ(machine.nextStateId, 1);
  EXPECT_EQ(machine.nextStateArcId, 1);
}

TEST(ShiftRegisterTest, ShiftOrderReversesUnlessRight) {
  ShiftRegister r;
  r.direction = 0;
  r.SetContents("0011");
  EXPECT_EQ(r.ShiftOrder(), "1100");
  r.SetContents("01\r\n1");
  EXPECT_EQ(r.ShiftOrder(), "1\n\r10");
  r.direction = 1;  // anything but 2 shifts like left
  EXPECT_EQ(r.ShiftOrder(), "1\n\r10");
  EXPECT_EQ(r.ShiftOrderPrefix(2), "1\n");
  EXPECT_EQ(r.ShiftOrderPrefix(40), "1\n\r10");
  r.direction = 2;
  EXPECT_EQ(r.ShiftOrder(), "01\r\n1");
}

}  // namespace
}  // namespace pelkor
