// SPDX-License-Identifier: GPL-3.0-or-later
// Undo, redo and the revision that tells whether a design is what was last loaded or saved.
#include <gtest/gtest.h>

#include <algorithm>

#include "../support/model_invariants.h"
#include "../support/records.h"
#include "model/module.h"

namespace pelkor {
namespace {

using testing::At;
using testing::ModuleInvariantsHold;

// One recorded edit: a register placed at x.
int PlaceRegister(Module& m, int x = 0) {
  const int id = m.AddShiftRegister(At<ShiftRegister>({x, 0}));
  m.RecordEdit();
  return id;
}

TEST(EditHistoryTest, TheFirstEditAfterAResetOrOnANewModuleCanBeUndone) {
  Module fresh;
  PlaceRegister(fresh);
  EXPECT_TRUE(fresh.Undo());
  EXPECT_TRUE(fresh.shiftRegisters.empty());
  EXPECT_EQ(fresh.revision(), 0u);  // the empty design it started as

  Module loaded;
  loaded.AddSink({});
  loaded.ResetHistory();  // as after reading a file
  const std::uint64_t read = loaded.revision();
  EXPECT_FALSE(loaded.CanUndo());
  PlaceRegister(loaded);
  EXPECT_TRUE(loaded.CanUndo());
  EXPECT_TRUE(loaded.Undo());
  EXPECT_TRUE(loaded.shiftRegisters.empty());
  EXPECT_EQ(loaded.sinks.size(), 1u);
  EXPECT_EQ(loaded.revision(), read);
  EXPECT_FALSE(loaded.Undo());
}

TEST(EditHistoryTest, KeepsTheNewestStateAndTenBefore) {
  for (int edits : {9, 10, 11, 15, 25}) {
    Module m;
    m.ResetHistory();
    for (int i = 0; i < edits; ++i)
      PlaceRegister(m, i);
    int undone = 0;
    while (m.Undo())
      ++undone;
    EXPECT_EQ(undone, std::min(edits, 10)) << edits << " edits";
    EXPECT_EQ(m.shiftRegisters.size(), static_cast<std::size_t>(edits - undone));
    EXPECT_TRUE(ModuleInvariantsHold(m));
  }
}

TEST(EditHistoryTest, RevisionsNameStatesThroughUndoRedoAndEditsThatChangeNothing) {
  Module m;
  m.ResetHistory();
  const std::uint64_t start = m.revision();
  PlaceRegister(m, 10);
  const std::uint64_t one = m.revision();
  PlaceRegister(m, 20);
  const std::uint64_t two = m.revision();
  EXPECT_NE(one, start);
  EXPECT_NE(two, one);

  m.Undo();
  EXPECT_EQ(m.revision(), one);
  EXPECT_FALSE(m.RecordEdit());  // a dialog closed by Cancel keeps what undo left
  EXPECT_TRUE(m.CanRedo());
  m.Redo();
  EXPECT_EQ(m.revision(), two);
  EXPECT_EQ(m.shiftRegisters.size(), 2u);
  EXPECT_FALSE(m.Redo());

  m.Undo();
  m.Undo();
  EXPECT_EQ(m.revision(), start);
  m.AddSink({});
  m.RecordEdit();  // a new edit forgets what undo left, and is a revision never seen before
  EXPECT_FALSE(m.CanRedo());
  EXPECT_NE(m.revision(), one);
  EXPECT_NE(m.revision(), two);
}

TEST(EditHistoryTest, AnEditNotYetRecordedIsKeptForRedoWhenUndoComes) {
  Module m;
  m.ResetHistory();
  const int reg = PlaceRegister(m);
  m.shiftRegisters.at(reg).position = {50, 60};  // a drag under way
  EXPECT_TRUE(m.Undo());
  EXPECT_EQ(m.shiftRegisters.at(reg).position, (Point{0, 0}));
  EXPECT_TRUE(m.Redo());
  EXPECT_EQ(m.shiftRegisters.at(reg).position, (Point{50, 60}));
}

TEST(EditHistoryTest, CountersNeverGoBackSoIdsStayUnique) {
  Module m;
  m.ResetHistory();
  const int reg = PlaceRegister(m);
  const int source = m.AddSource({});
  m.AddArc(source, reg, {}, "a");
  m.RecordEdit();

  m.Undo();
  EXPECT_FALSE(m.sources.contains(source));
  EXPECT_TRUE(m.arcs.empty());
  EXPECT_EQ(m.AddSink({}), source + 1);
  EXPECT_EQ(m.AddArc(reg, source + 1, {}, "b"), 3);
  EXPECT_TRUE(ModuleInvariantsHold(m));
}

TEST(EditHistoryTest, ACopyCarriesTheDesignAndItsRevisionButNoHistoryNorSelection) {
  Module original;
  original.ResetHistory();
  PlaceRegister(original);
  original.selection.selectedIds = {1};

  Module copy(original);
  EXPECT_TRUE(copy.SameContent(original));
  EXPECT_EQ(copy.revision(), original.revision());
  EXPECT_FALSE(copy.CanUndo());
  EXPECT_TRUE(copy.selection.Empty());

  Module target;
  target.selection.selectedIds = {7};
  target = original;
  EXPECT_EQ(target.selection.selectedIds, std::set<int>{7});
  EXPECT_EQ(target.revision(), original.revision());
}

TEST(EditHistoryTest, WithoutHistoryEditsStillMoveTheRevisionButNothingIsUndone) {
  Module read;
  read.AddSink({});
  read.KeepHistory(false);
  const std::uint64_t loaded = read.revision();
  PlaceRegister(read);
  EXPECT_NE(read.revision(), loaded);
  const std::uint64_t edited = read.revision();
  EXPECT_FALSE(read.CanUndo());
  EXPECT_FALSE(read.Undo());
  EXPECT_EQ(read.revision(), edited);
  EXPECT_EQ(read.shiftRegisters.size(), 1u);
  EXPECT_EQ(read.sinks.size(), 1u);

  read.KeepHistory(true);  // the present design is the oldest state again
  PlaceRegister(read, 40);
  EXPECT_TRUE(read.Undo());
  EXPECT_EQ(read.shiftRegisters.size(), 1u);
}

}  // namespace
}  // namespace pelkor
