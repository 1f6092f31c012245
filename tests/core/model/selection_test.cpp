// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/selection.h"

#include <climits>

#include <gtest/gtest.h>

#include "../support/model_invariants.h"
#include "../support/records.h"
#include "model/module.h"

namespace pelkor {
namespace {

using testing::At;
using testing::ModuleInvariantsHold;

TEST(SelectionTest, AddSelectsOneObjectAndIgnoresUnknownIds) {
  Module m;
  const int a = m.AddShiftRegister(At<ShiftRegister>({10, 20}));
  const int b = m.AddCounter(At<Counter>({-5, 7}));
  EXPECT_EQ(m.selection.Add(m, a), 1u);
  EXPECT_EQ(m.selection.Add(m, b), 2u);
  // The box covers every object selected, so that the tracker drags them all.
  EXPECT_EQ(m.selection.bounds, (Rect{-5, 7, 10, 20}));
  EXPECT_EQ(m.selection.Add(m, 99), 2u);
  EXPECT_EQ(m.selection.selectedIds, (std::set<int>{a, b}));
}

TEST(SelectionTest, SelectWhereGrowsTheBoxOfAnExistingSelection) {
  Module m;
  const int far = m.AddStateMachine(At<StateMachine>({500, -300}));
  m.AddShiftRegister(At<ShiftRegister>({5, 5}));
  m.AddShiftRegister(At<ShiftRegister>({30, 8}));
  m.selection.Add(m, far);
  EXPECT_EQ(m.selection.SelectWhere(m, [](Point p) { return p.x < 100 && p.y >= 0; }), 3u);
  EXPECT_EQ(m.selection.bounds, (Rect{5, -300, 500, 8}));
}

TEST(SelectionTest, AlignEndsTheSelectionAndSelectingIsNoChangeOfTheDesign) {
  Module m;
  const int a = m.AddShiftRegister(At<ShiftRegister>({37, -5}));
  const int b = m.AddSink(At<SinkTransition>({1, 1}));
  const Module unselected = m;
  m.selection.Add(m, a);
  EXPECT_TRUE(m.SameContent(unselected));
  m.selection.AlignSelected(m, 20);
  EXPECT_TRUE(m.selection.selectedIds.empty());
  m.selection.Add(m, b);
  m.selection.Clear(m);
  EXPECT_TRUE(m.selection.selectedIds.empty());
  EXPECT_EQ(m.selection.bounds, Rect{});
}

TEST(SelectionTest, DeleteRemovesObjectsAndTheirArcsButKeepsKindEntries) {
  Module m;
  const int source = m.AddSource({});
  const int reg = m.AddShiftRegister({});
  const int sink = m.AddSink({});
  const int other = m.AddShiftRegister({});
  const int counter = m.AddCounter({});
  m.AddArc(source, reg, {}, "a");
  m.AddArc(reg, sink, {}, "b");
  m.AddArc(other, counter, {}, "c");
  m.AddArc(counter, other, {}, "d");
  m.selection.Add(m, reg);
  m.selection.Add(m, sink);

  m.selection.DeleteSelected(m);

  EXPECT_TRUE(m.selection.selectedIds.empty());
  EXPECT_FALSE(m.shiftRegisters.contains(reg));
  EXPECT_FALSE(m.sinks.contains(sink));
  EXPECT_EQ(m.KindOf(reg), kShiftRegisterKind);
  EXPECT_EQ(m.arcs.size(), 2u);
  for (const auto& [id, arc] : m.arcs)
    EXPECT_TRUE(arc.name == "c" || arc.name == "d");
  EXPECT_TRUE(ModuleInvariantsHold(m));
  EXPECT_EQ(m.AddSink({}), counter + 1);
}

TEST(SelectionTest, AlignSnapsToCellCentresAndEmptiesTheSet) {
  Module m;
  const int a = m.AddShiftRegister(At<ShiftRegister>({37, -5}));
  const int b = m.AddCounter(At<Counter>({0, 19}));
  const int c = m.AddSink(At<SinkTransition>({-37, -20}));
  const int untouched = m.AddSource(At<SourceTransition>({37, -5}));
  for (int id : {a, b, c})
    m.selection.Add(m, id);

  m.selection.AlignSelected(m, 20);

  EXPECT_EQ(m.shiftRegisters.at(a).position, (Point{30, -10}));
  EXPECT_EQ(m.counters.at(b).position, (Point{10, 10}));
  EXPECT_EQ(m.sinks.at(c).position, (Point{-30, -30}));
  EXPECT_EQ(m.sources.at(untouched).position, (Point{37, -5}));
  EXPECT_TRUE(m.selection.selectedIds.empty());
}

TEST(SelectionTest, AlignWithGridZeroLeavesPositionsAndDoesNotDivideByZero) {
  Module m;
  const int a = m.AddShiftRegister(At<ShiftRegister>({37, -5}));
  m.selection.Add(m, a);
  m.selection.AlignSelected(m, 0);
  EXPECT_EQ(m.shiftRegisters.at(a).position, (Point{37, -5}));
}

TEST(SelectionTest, AlignAtTheEndOfTheRangeStopsThere) {
  Module m;
  const int a = m.AddShiftRegister(At<ShiftRegister>({INT_MAX, INT_MIN}));
  m.selection.Add(m, a);
  m.selection.AlignSelected(m, 20);
  EXPECT_EQ(m.shiftRegisters.at(a).position, (Point{INT_MAX, INT_MIN}));
}

TEST(SelectionTest, MoveCarriesArcBendsBetweenMovedObjectsOnly) {
  Module m;
  const int machine = m.AddStateMachine(At<StateMachine>({0, 0}));
  const int reg = m.AddShiftRegister(At<ShiftRegister>({100, 0}));
  const int outside = m.AddShiftRegister(At<ShiftRegister>({0, 100}));
  m.AddArc(machine, reg, {{50, 10}, {60, 20}}, "inner");
  m.AddArc(outside, machine, {{5, 50}}, "edge");
  m.selection.Add(m, machine);
  m.selection.SelectWhere(m, [](Point p) { return p == Point{100, 0}; });

  m.selection.MoveSelected(m, {-7, 3});

  EXPECT_EQ(m.stateMachines.at(machine).position, (Point{7, -3}));
  EXPECT_EQ(m.shiftRegisters.at(reg).position, (Point{107, -3}));
  EXPECT_EQ(m.shiftRegisters.at(outside).position, (Point{0, 100}));
  EXPECT_EQ(m.arcs.at(1).bends, (std::vector<Point>{{57, 7}, {67, 17}}));
  EXPECT_EQ(m.arcs.at(2).bends, (std::vector<Point>{{5, 50}}));
  EXPECT_EQ(m.selection.bounds, (Rect{7, -3, 107, -3}));
}

}  // namespace
}  // namespace pelkor
