#include <gtest/gtest.h>

#include <memory>

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

TEST(UndoTest, FirstPushStoresTheStateThreeTimes) {
  Module m;
  PlaceRegister(m);
  ASSERT_EQ(m.undoHistory.size(), 3u);
  for (const auto& snapshot : m.undoHistory) {
    EXPECT_TRUE(snapshot->SameContent(m));
    EXPECT_TRUE(snapshot->undoHistory.empty());
  }
  // Undo never goes back before the state after the first recorded action.
  EXPECT_FALSE(m.Undo());
  EXPECT_EQ(m.shiftRegisters.size(), 1u);
  m.Undo();
  EXPECT_EQ(m.shiftRegisters.size(), 1u);
}

TEST(UndoTest, FifteenActionsGiveAtMostTenVisibleUndos) {
  Module m;
  for (int i = 0; i < 15; ++i)
    PlaceRegister(m);
  EXPECT_EQ(m.undoHistory.size(), 11u);

  int visible = 0;
  for (int i = 0; i < 20; ++i) {
    const std::size_t before = m.shiftRegisters.size();
    m.Undo();
    if (m.shiftRegisters.size() != before)
      ++visible;
  }
  EXPECT_EQ(visible, 10);
  EXPECT_EQ(m.shiftRegisters.size(), 5u);
  EXPECT_EQ(m.undoHistory.size(), 1u);
}

TEST(UndoTest, WithOneSnapshotNothingChanges) {
  Module m;
  PlaceRegister(m);
  m.undoHistory.resize(1);
  m.AddCounter({});
  EXPECT_FALSE(m.Undo());
  EXPECT_EQ(m.counters.size(), 1u);
  EXPECT_EQ(m.undoHistory.size(), 1u);

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
  const std::size_t depth = m.undoHistory.size();

  // The objects differ from the back snapshot, so that snapshot itself is restored and kept.
  m.Undo();
  EXPECT_TRUE(m.counters.empty());
  EXPECT_TRUE(m.shiftRegisters.contains(b));
  EXPECT_EQ(m.undoHistory.size(), depth);
  EXPECT_TRUE(ModuleInvariantsHold(m));
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

TEST(UndoTest, SnapshotsKeepThePasteOriginButUndoLeavesTheModulesOwn) {
  Module m;
  m.pasteOrigin = {1, 2};
  PlaceRegister(m);
  EXPECT_EQ(m.undoHistory.back()->pasteOrigin, (Point{1, 2}));
  m.pasteOrigin = {3, 4};
  PlaceRegister(m);
  m.Undo();
  EXPECT_EQ(m.pasteOrigin, (Point{3, 4}));
}

TEST(UndoTest, UndoingTwiceAfterTheFirstPushKeepsTheSharedSnapshot) {
  Module m;
  const int reg = PlaceRegister(m);
  const Point placed = m.shiftRegisters.at(reg).position;

  m.Undo();  // the back equals the state: one of the three entries goes
  ASSERT_EQ(m.undoHistory.size(), 2u);
  m.AddCounter({});  // unrecorded, so the back is restored and kept
  m.shiftRegisters.at(reg).position = {50, 60};
  m.Undo();
  EXPECT_TRUE(m.counters.empty());
  EXPECT_EQ(m.shiftRegisters.at(reg).position, placed);
  ASSERT_EQ(m.undoHistory.size(), 2u);

  m.shiftRegisters.at(reg).position = {70, 80};  // same objects: the back goes again
  m.Undo();
  EXPECT_EQ(m.shiftRegisters.at(reg).position, placed);
  ASSERT_EQ(m.undoHistory.size(), 1u);
  EXPECT_EQ(m.undoHistory.back()->shiftRegisters.at(reg).position, placed);
  EXPECT_FALSE(m.Undo());
  EXPECT_EQ(m.shiftRegisters.at(reg).position, placed);
}

TEST(UndoTest, AFullHistoryReusesOnlyASnapshotNothingElseRefersTo) {
  Module m;
  for (int i = 0; i < 10; ++i)
    PlaceRegister(m);
  // The first state still stands twice in the history, so the push that dropped its third
  // entry must not have overwritten it.
  ASSERT_EQ(m.undoHistory.size(), 11u);
  for (int i = 0; i < 20; ++i)
    m.Undo();
  EXPECT_EQ(m.shiftRegisters.size(), 1u);

  // A snapshot someone still holds keeps its content when it leaves the history.
  Module n;
  for (int i = 0; i < 12; ++i)
    PlaceRegister(n);
  const std::shared_ptr<const Module> oldest = n.undoHistory.front();
  const std::size_t oldestSize = oldest->shiftRegisters.size();
  PlaceRegister(n);
  EXPECT_EQ(oldest->shiftRegisters.size(), oldestSize);
  EXPECT_NE(n.undoHistory.front(), oldest);
  EXPECT_EQ(n.undoHistory.size(), 11u);
}

}  // namespace
}  // namespace pelkor
