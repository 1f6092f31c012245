// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/shift_register_runtime.h"

#include <gtest/gtest.h>

#include <random>

#include "sim_fixture.h"

namespace pelkor {
namespace {

using testing::Cells;

ShiftRegisterRuntime MakeRegister(const std::string& cells) {
  ShiftRegisterRuntime shiftRegister(1);
  std::vector<std::uint8_t> values;
  for (const char ch : cells)
    values.push_back(ch == '-' ? EMPTY : ch - '0');
  shiftRegister.Load(values);
  return shiftRegister;
}

TEST(ShiftRegisterRuntimeTest, AcceptsOnePutPerStepEvenWhenTheEntryIsEmptiedAgain) {
  ShiftRegisterRuntime single = MakeRegister("-");
  ASSERT_TRUE(single.CanAccept());
  EXPECT_TRUE(single.Put(1));
  EXPECT_TRUE(single.HasToken());  // one cell: entry and exit are the same
  EXPECT_EQ(single.Take(), 1);
  EXPECT_TRUE(single.CanAccept());
  EXPECT_FALSE(single.Put(0));  // refused until the advance
  EXPECT_FALSE(single.HasToken());
  EXPECT_FALSE(single.Advance());
  EXPECT_TRUE(single.Put(0));
  EXPECT_EQ(Cells(single), "0");
}

TEST(ShiftRegisterRuntimeTest, TakeOfAZeroLeavesTheExitEmpty) {
  ShiftRegisterRuntime shiftRegister = MakeRegister("-10");
  EXPECT_EQ(shiftRegister.Take(), 0);
  EXPECT_FALSE(shiftRegister.HasToken());
  EXPECT_EQ(Cells(shiftRegister), "-1-");
}

TEST(ShiftRegisterRuntimeTest, ARunOfTokensMovesOneCellUnlessTheExitIsTaken) {
  ShiftRegisterRuntime open = MakeRegister("10-");
  EXPECT_TRUE(open.Advance());
  EXPECT_EQ(Cells(open), "-10");
  EXPECT_FALSE(open.Advance());  // the exit holds: nothing moves

  ShiftRegisterRuntime gaps = MakeRegister("1-0--1");
  EXPECT_TRUE(gaps.Advance());
  EXPECT_EQ(Cells(gaps), "-1-0-1");
}

TEST(ShiftRegisterRuntimeTest, RegisterWithoutCellsNeverHoldsNorTakesTokens) {
  ShiftRegisterRuntime none(7);
  EXPECT_FALSE(none.HasToken());
  EXPECT_FALSE(none.CanAccept());
  EXPECT_FALSE(none.Put(1));
  EXPECT_EQ(none.Take(), EMPTY);
  EXPECT_FALSE(none.Advance());
}

// The advance, written as the cell walk it stands for.
bool WalkCells(std::string& cells) {
  bool moved = false;
  for (std::size_t i = cells.size(); i-- > 1;) {
    if (cells[i] != '-')
      continue;
    moved = moved || cells[i - 1] != '-';
    cells[i] = cells[i - 1];
    cells[i - 1] = '-';
  }
  return moved;
}

TEST(ShiftRegisterRuntimeTest, AdvanceEqualsTheCellWalkOnRandomContents) {
  std::mt19937 random(5);
  for (int round = 0; round < 2000; ++round) {
    const std::size_t length = 1 + random() % 40;
    std::string cells;
    const int emptyPercent = static_cast<int>(random() % 101);
    for (std::size_t i = 0; i < length; ++i) {
      cells += static_cast<int>(random() % 100) < emptyPercent ? '-' : "01"[random() % 2];
    }
    ShiftRegisterRuntime shiftRegister = MakeRegister(cells);
    std::string expected = cells;
    const bool moved = WalkCells(expected);
    EXPECT_EQ(shiftRegister.Advance(), moved) << cells;
    EXPECT_EQ(Cells(shiftRegister), expected) << cells;
  }
}

}  // namespace
}  // namespace pelkor
