// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "../support/model_invariants.h"
#include "../support/records.h"
#include "model/module.h"

namespace pelkor {
namespace {

using testing::At;
using testing::ModuleInvariantsHold;

// Three recorded actions: registers at x = 10, 20 and 30.
Module ThreeActions() {
  Module m;
  for (int x : {10, 20, 30}) {
    m.AddShiftRegister(At<ShiftRegister>({x, 0}));
    m.PushUndo();
  }
  return m;
}

TEST(RedoTest, RedoesWhatUndoUndidInReverseOrderAndUndoGoesBackAgain) {
  Module m = ThreeActions();
  EXPECT_FALSE(m.CanRedo());
  m.Undo();
  m.Undo();
  EXPECT_EQ(m.shiftRegisters.size(), 1u);

  m.Redo();
  EXPECT_EQ(m.shiftRegisters.size(), 2u);
  m.Redo();
  EXPECT_EQ(m.shiftRegisters.size(), 3u);
  EXPECT_FALSE(m.CanRedo());
  EXPECT_FALSE(m.Redo());
  EXPECT_TRUE(ModuleInvariantsHold(m));

  m.Undo();
  EXPECT_EQ(m.shiftRegisters.size(), 2u);
  m.Redo();
  EXPECT_EQ(m.shiftRegisters.size(), 3u);
}

TEST(RedoTest, ANewEditClearsItButAnActionThatChangedNothingKeepsIt) {
  Module m = ThreeActions();
  m.Undo();
  m.PushUndo();  // a dialog closed by Cancel
  EXPECT_TRUE(m.CanRedo());

  m.shiftRegisters.begin()->second.position = {99, 99};
  m.PushUndo();
  EXPECT_FALSE(m.CanRedo());
  EXPECT_EQ(m.shiftRegisters.size(), 2u);
}

TEST(RedoTest, ReportsWhetherTheNumberOfInstancesChangedAndKeepsIdsUnique) {
  Module m = ThreeActions();
  const int instance = m.AddInstance({});
  m.PushUndo();
  m.Undo();
  EXPECT_TRUE(m.Redo());
  EXPECT_TRUE(m.instances.contains(instance));
  EXPECT_EQ(m.AddSink({}), instance + 1);
  EXPECT_TRUE(ModuleInvariantsHold(m));
}

}  // namespace
}  // namespace pelkor
