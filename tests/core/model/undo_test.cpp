// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "../support/model_invariants.h"
#include "model/module.h"

namespace pelkor {
namespace {

using testing::ModuleInvariantsHold;

// One recorded action: place a shift register, then push a snapshot as the tools do.
int PlaceRegister(Module& m) {
  const int id = m.AddShiftRegister({});
  m.PushUndo();
  return id;
}

TEST(UndoTest, NeverGoesBackBeforeTheFirstRecordedAction) {
  Module m;
  PlaceRegister(m);
  for (int i = 0; i < 4; ++i) {
    EXPECT_FALSE(m.Undo());
    EXPECT_EQ(m.shiftRegisters.size(), 1u);
  }
}

TEST(UndoTest, FifteenActionsGiveAtMostTenVisibleUndos) {
  Module m;
  for (int i = 0; i < 15; ++i)
    PlaceRegister(m);

  int visible = 0;
  for (int i = 0; i < 20; ++i) {
    const std::size_t before = m.shiftRegisters.size();
    m.Undo();
    if (m.shiftRegisters.size() != before)
      ++visible;
  }
  EXPECT_EQ(visible, 10);
  EXPECT_EQ(m.shiftRegisters.size(), 5u);
}

TEST(UndoTest, WithoutARecordedActionNothingChanges) {
  Module empty;
  empty.AddSink({});
  EXPECT_FALSE(empty.Undo());
  EXPECT_EQ(empty.sinks.size(), 1u);
}

TEST(UndoTest, AnUnrecordedNewObjectIsUndoneOnItsOwn) {
  Module m;
  PlaceRegister(m);
  const int b = PlaceRegister(m);
  m.AddCounter({});  // placed while simulating: no snapshot

  // The objects differ from the last recorded state, so that state itself comes back first.
  m.Undo();
  EXPECT_TRUE(m.counters.empty());
  EXPECT_TRUE(m.shiftRegisters.contains(b));
  EXPECT_TRUE(ModuleInvariantsHold(m));
  m.Undo();
  EXPECT_FALSE(m.shiftRegisters.contains(b));
}

TEST(UndoTest, AfterADeleteTheKindsStillMatchSoUndoStepsBackOneRecordedAction) {
  Module m;
  const int a = PlaceRegister(m);
  const int b = PlaceRegister(m);
  const int c = m.AddCounter({});
  m.AddArc(a, c, {}, "x");
  m.PushUndo();
  m.selection.Add(m, a);
  m.selection.DeleteSelected(m);

  // The deleted register's kind entry stays, so the back snapshot counts as the current state:
  // it is dropped and the state before the counter comes back, register a with it.
  m.Undo();
  EXPECT_TRUE(m.shiftRegisters.contains(a));
  EXPECT_TRUE(m.shiftRegisters.contains(b));
  EXPECT_TRUE(m.counters.empty());
  EXPECT_TRUE(m.arcs.empty());
  EXPECT_TRUE(ModuleInvariantsHold(m));
}

TEST(UndoTest, CountersNeverGoBackSoIdsStayUnique) {
  Module m;
  PlaceRegister(m);
  const int second = PlaceRegister(m);
  const int source = m.AddSource({});
  m.AddArc(source, second, {}, "a");
  m.PushUndo();

  m.Undo();
  EXPECT_FALSE(m.sources.contains(source));
  EXPECT_TRUE(m.arcs.empty());
  EXPECT_EQ(m.AddSink({}), source + 1);
  EXPECT_EQ(m.AddArc(second, source + 1, {}, "b"), 3);
  EXPECT_TRUE(ModuleInvariantsHold(m));
}

TEST(UndoTest, ReportsWhetherTheNumberOfInstancesChanged) {
  Module m;
  PlaceRegister(m);
  m.AddInstance({});
  m.PushUndo();
  EXPECT_TRUE(m.Undo());
  PlaceRegister(m);
  EXPECT_FALSE(m.Undo());
}

TEST(UndoTest, UndoLeavesTheModulesOwnPasteOrigin) {
  Module m;
  m.pasteOrigin = {1, 2};
  PlaceRegister(m);
  m.pasteOrigin = {3, 4};
  PlaceRegister(m);
  m.Undo();
  EXPECT_EQ(m.pasteOrigin, (Point{3, 4}));
}

TEST(UndoTest, UnrecordedChangesAfterTheFirstActionAlwaysComeBackToIt) {
  Module m;
  const int reg = PlaceRegister(m);
  const Point placed = m.shiftRegisters.at(reg).position;

  m.Undo();
  m.AddCounter({});  // unrecorded
  m.shiftRegisters.at(reg).position = {50, 60};
  m.Undo();
  EXPECT_TRUE(m.counters.empty());
  EXPECT_EQ(m.shiftRegisters.at(reg).position, placed);

  m.shiftRegisters.at(reg).position = {70, 80};  // same objects: goes back all the same
  m.Undo();
  EXPECT_EQ(m.shiftRegisters.at(reg).position, placed);
  EXPECT_FALSE(m.Undo());
  EXPECT_EQ(m.shiftRegisters.at(reg).position, placed);
}

TEST(UndoTest, AFullHistoryStillRestoresItsOldestStates) {
  for (int actions : {10, 11, 12, 13, 25}) {
    Module m;
    for (int i = 0; i < actions; ++i)
      PlaceRegister(m);
    for (int i = 0; i < 20; ++i)
      m.Undo();
    // Ten undos at most, never before the first action.
    EXPECT_EQ(m.shiftRegisters.size(), static_cast<std::size_t>(std::max(1, actions - 10)))
        << actions << " actions";
    EXPECT_TRUE(ModuleInvariantsHold(m));
  }
}

}  // namespace
}  // namespace pelkor
