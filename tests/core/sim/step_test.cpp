// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

#include "sim/simulation_condition.h"
#include "sim_fixture.h"

namespace pelkor {
namespace {

using testing::AddCounter;
using testing::AddInstance;
using testing::AddMachine;
using testing::AddPort;
using testing::AddRegister;
using testing::AddSink;
using testing::AddSource;
using testing::Cells;
using testing::Connect;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::PlaceDynamic;

class StepTest : public testing::SimTest {};

TEST_F(StepTest, SourceTokensReachTheSinkInOrderThenTheNetGoesIdle) {
  const int r = AddRegister(Top());
  const int sink = AddSink(Top());
  Connect(Top(), AddSource(Top(), "101"), r);
  Connect(Top(), r, sink);
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  EXPECT_THAT(StepTimes(5), ElementsAre(1, 1, 1, 1, 0));
  EXPECT_THAT(Received(sink), ElementsAre(1, 0, 1));
}

TEST_F(StepTest, HeldValueIsEmittedWheneverTheRegisterAcceptsAndOtherwiseOnce) {
  const int held = AddSink(Top());
  const int heldRegister = AddRegister(Top(), "", 2);
  Connect(Top(), AddSource(Top(), "1", "", testing::kHoldValue), heldRegister);
  Connect(Top(), heldRegister, held);
  const int once = AddSink(Top());
  const int onceRegister = AddRegister(Top(), "", 2);
  Connect(Top(), AddSource(Top(), "1"), onceRegister);
  Connect(Top(), onceRegister, once);
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  StepTimes(6);
  EXPECT_THAT(Received(held), ElementsAre(1, 1, 1, 1));
  EXPECT_THAT(Received(once), ElementsAre(1));
}

TEST_F(StepTest, SecondProducerIntoARegisterInOneStepIsRefused) {
  const int r = AddRegister(Top(), "", 2);
  const int sink = AddSink(Top());
  Connect(Top(), r, sink);
  Connect(Top(), AddCounter(Top(), "", 2), r);  // 0, 1, 0, 1, ...
  Connect(Top(), AddCounter(Top(), "", 1), r);  // would write 1 every time
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  StepTimes(6);
  EXPECT_THAT(Received(sink), ElementsAre(0, 1, 0, 1));
}

TEST_F(StepTest, CountersEmitOneOnEveryReloadthCountedFiring) {
  const int counted = AddSink(Top());
  const int in = AddRegister(Top());
  const int out = AddRegister(Top());
  const int counter = AddCounter(Top(), "x = a;", 3);
  Connect(Top(), AddSource(Top(), "1", "", testing::kHoldValue), in);
  Connect(Top(), in, counter);
  Connect(Top(), counter, out);
  Connect(Top(), out, counted);

  const int free = AddSink(Top());
  const int clockOut = AddRegister(Top());
  Connect(Top(), AddCounter(Top(), "", 3), clockOut);
  Connect(Top(), clockOut, free);
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  StepTimes(20);
  ASSERT_GE(Received(counted).size(), 6u);
  EXPECT_THAT(std::vector<int>(Received(counted).begin(), Received(counted).begin() + 6),
              ElementsAre(0, 0, 1, 0, 0, 1));
  ASSERT_GE(Received(free).size(), 6u);
  EXPECT_THAT(std::vector<int>(Received(free).begin(), Received(free).begin() + 6),
              ElementsAre(0, 0, 1, 0, 0, 1));
}

TEST_F(StepTest, CounterThatCountsNothingKeepsItsCount) {
  const int in = AddRegister(Top(), "0000");
  const int out = AddRegister(Top(), "", 9);
  const int counter = AddCounter(Top(), "x = a;", 2);
  Connect(Top(), in, counter);
  Connect(Top(), counter, out);
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  StepTimes(12);
  EXPECT_EQ(Cells(RegisterOf(out)), "-----0000");
  EXPECT_EQ(Runtime().FindCounter(counter)->remaining, 2);
}

TEST_F(StepTest, CounterWithTheLowestCountNumberWrapsInsteadOfOverflowing) {
  const int out = AddRegister(Top(), "", 4);
  const int counter = AddCounter(Top(), "", std::numeric_limits<int>::min());
  Connect(Top(), counter, out);
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  StepTimes(8);
  EXPECT_EQ(Cells(RegisterOf(out)), "0000");
  EXPECT_EQ(Runtime().FindCounter(counter)->remaining, std::numeric_limits<int>::max() - 3);
}

TEST_F(StepTest, MachineWithAnInputNoArcFeedsNeverFires) {
  const int machine = AddMachine(Top(), {{1, "x = a & b;", ""}}, {}, 1);
  const int a = AddRegister(Top(), "1");
  Connect(Top(), a, machine, "a");
  Connect(Top(), AddRegister(Top(), "1"), machine, "z");  // names no variable
  Connect(Top(), machine, AddRegister(Top()), "x");
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  StepTimes(3);
  EXPECT_FALSE(Runtime().FindMachine(machine)->ready);
  EXPECT_TRUE(RegisterOf(a).HasToken());
}

// Two machines write one register; the first to fire wins and the other's state stays.
TEST_F(StepTest, RefusedOutputLeavesTheMachineInItsStateWithoutANumber) {
  const int out = AddRegister(Top(), "", 2);
  const int winner = AddMachine(Top(), {{1, "x = a;", ""}}, {}, 1);
  Connect(Top(), AddRegister(Top(), "1"), winner);
  Connect(Top(), winner, out);
  const int in = AddRegister(Top(), "1");
  const int loser = AddMachine(Top(), {{1, "x = a;", "go = a;"}, {2, "x = a;", "go = a;"}},
                               {{1, 2, "go"}, {2, 1, "go"}}, 1);
  Connect(Top(), in, loser);
  Connect(Top(), loser, out);
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  const StateMachineRuntime& machine = *Runtime().FindMachine(loser);

  StepTimes(2);
  EXPECT_EQ(machine.currentNumber, 0);
  EXPECT_EQ(machine.Current().number, 1);
  EXPECT_TRUE(RegisterOf(in).HasToken());  // nothing consumed
  EXPECT_TRUE(machine.ready);

  StepOnce();
  EXPECT_EQ(machine.currentNumber, 2);
  EXPECT_FALSE(RegisterOf(in).HasToken());
}

// State 1 chooses state 2 or 3 by input c; both copy input d out and lead straight back.
class TwoStepTest : public StepTest {
 protected:
  void Build(bool twoStepMode) {
    c = AddRegister(Top(), "01");
    d = AddRegister(Top(), "10");
    x = AddRegister(Top(), "", 2);
    y = AddRegister(Top(), "", 2);
    machine = AddMachine(Top(),
                         {{1, "", "two = c; three = ~c;"},
                          {2, "x = d;", "back = d | ~d;"},
                          {3, "y = d;", "back = d | ~d;"}},
                         {{1, 2, "two"}, {1, 3, "three"}, {2, 1, "back"}, {3, 1, "back"}}, 1,
                         twoStepMode);
    Connect(Top(), c, machine, "c");
    Connect(Top(), d, machine, "d");
    Connect(Top(), machine, x, "x");
    Connect(Top(), machine, y, "y");
    ASSERT_EQ(CheckAll().failingNode, nullptr);
  }
  int c = 0, d = 0, x = 0, y = 0, machine = 0;
};

TEST_F(TwoStepTest, BranchAndItsTargetFireInOneStep) {
  Build(true);
  StepTimes(2);  // ready, then the branch to 2 and its firing
  EXPECT_EQ(Runtime().FindMachine(machine)->currentNumber, 1);
  EXPECT_EQ(Cells(RegisterOf(x)), "-0");
  EXPECT_EQ(Cells(RegisterOf(c)), "--0");
  EXPECT_EQ(Cells(RegisterOf(d)), "--1");
  StepOnce();  // c = 0: state 3
  EXPECT_EQ(Cells(RegisterOf(y)), "-1");
  EXPECT_EQ(Cells(RegisterOf(c)), "---");
  EXPECT_EQ(Runtime().FindMachine(machine)->currentNumber, 1);
}

TEST_F(TwoStepTest, NormalModeTakesAFiringPerState) {
  Build(false);
  StepTimes(2);  // state 1 fires: consumes c, moves to 2
  EXPECT_EQ(Runtime().FindMachine(machine)->currentNumber, 2);
  EXPECT_EQ(Cells(RegisterOf(x)), "--");
  EXPECT_EQ(Cells(RegisterOf(d)), "-10");
  StepOnce();
  EXPECT_EQ(Cells(RegisterOf(x)), "-0");
  EXPECT_EQ(Runtime().FindMachine(machine)->currentNumber, 1);
}

TEST_F(StepTest, PortSinkLeavesItsTokensToTheInstance) {
  Module& inner = Define("inner");
  const int r = AddRegister(inner, "1");
  const int portSink = AddSink(inner, "out");
  Connect(inner, r, portSink);
  const int outer = AddRegister(Top());
  const int instance = AddInstance(Top(), "inner");
  Connect(Top(), instance, outer, "out");
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  RuntimeInstance& child = Root().Child(instance);
  StepOnce();
  EXPECT_THAT(Received(portSink, &child), IsEmpty());
  EXPECT_TRUE(RegisterOf(outer).HasToken());
  EXPECT_FALSE(RegisterOf(r, &child).HasToken());
}

// "cell" is made by a "new" token and removed by a "delete" token; its data input fills a
// three-cell register that nothing empties.
class DynamicInstanceTest : public StepTest {
 protected:
  void SetUp() override {
    Module& cell = Define("cell");
    cellNew = AddPort(cell, "new");
    Connect(cell, cellNew, AddSink(cell));
    AddPort(cell, "delete");
    cellData = AddPort(cell, "d", 3);
    const testing::DynamicPlacement placed = PlaceDynamic(Top(), "cell");
    instance = placed.instance;
    newArc = placed.newArc;
    deleteArc = placed.deleteArc;
    data = AddRegister(Top());
    Connect(Top(), data, instance, "d");
    ASSERT_EQ(CheckAll().failingNode, nullptr);
  }

  // A token arrives at the exit of a one-cell register of the top module.
  void Deliver(int shiftRegister) { ASSERT_TRUE(RegisterOf(shiftRegister).Put(1)); }
  // The instance's run-time flags in the top node.
  const ModuleInstanceRuntime& RunFlags() { return *Runtime().FindInstance(instance); }
  RuntimeInstance& Cell() { return Root().Child(instance); }

  int cellNew = 0, cellData = 0, newArc = 0, deleteArc = 0, data = 0, instance = 0;
};

TEST_F(DynamicInstanceTest, InputBeforeNewRaises100) {
  Deliver(data);
  StepExpectingCondition(kInputBeforeNew);
  EXPECT_THAT(log.lines, ElementsAre("モジュールでエラー"));
  EXPECT_TRUE(RegisterOf(data).HasToken());
}

TEST_F(DynamicInstanceTest, NewCreatesDeleteRemovesAndARecreatedCellStartsEmpty) {
  Deliver(newArc);
  EXPECT_EQ(StepOnce(), 1);
  EXPECT_THAT(log.lines, ElementsAre("再構成"));
  ASSERT_TRUE(reference.IsPrepared(Cell()));
  EXPECT_TRUE(RunFlags().created);
  EXPECT_FALSE(RunFlags().absent);
  EXPECT_THAT(reference.schedule(), ElementsAre(&Root(), &Cell()));
  StepOnce();  // the "new" token travels in
  EXPECT_FALSE(RegisterOf(newArc).HasToken());

  Deliver(data);
  StepTimes(3);
  EXPECT_EQ(Cells(RegisterOf(cellData, &Cell())), "--1");

  Deliver(deleteArc);
  StepOnce();
  EXPECT_THAT(log.lines, ElementsAre("再構成", "cellをdelete", "再構成"));
  EXPECT_TRUE(Cell().deleted);
  EXPECT_FALSE(reference.IsPrepared(Cell()));
  EXPECT_TRUE(RunFlags().absent);
  EXPECT_FALSE(RegisterOf(deleteArc).HasToken());

  Deliver(deleteArc);  // deleting again is an input before "new"
  StepExpectingCondition(kInputBeforeNew);

  RegisterOf(deleteArc).Take();
  Deliver(newArc);
  RuntimeInstance* before = &Cell();
  StepOnce();
  EXPECT_EQ(&Cell(), before);
  EXPECT_FALSE(Cell().deleted);
  EXPECT_EQ(Cells(RegisterOf(cellData, &Cell())), "---");
  EXPECT_EQ(std::count(reference.schedule().begin(), reference.schedule().end(), before), 1);
}

TEST_F(DynamicInstanceTest, DeleteArrivingWithNewWaitsUntilTheInstanceExists) {
  Deliver(newArc);
  Deliver(deleteArc);
  EXPECT_EQ(StepOnce(), 1);
  ASSERT_TRUE(reference.IsPrepared(Cell()));
  EXPECT_TRUE(RegisterOf(deleteArc).HasToken());
  StepOnce();
  EXPECT_THAT(log.lines, ElementsAre("再構成", "cellをdelete", "再構成"));
  EXPECT_TRUE(Cell().deleted);
  EXPECT_FALSE(RunFlags().created);
}

TEST_F(DynamicInstanceTest, ConditionLaterInThePhaseLeavesAMarkedCreationUndone) {
  const int other = AddInstance(Top(), "cell");
  const int otherData = AddRegister(Top(), "1");
  Connect(Top(), AddRegister(Top()), other, "new");
  Connect(Top(), otherData, other, "d");
  reference.End();
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  Deliver(newArc);
  StepExpectingCondition(kInputBeforeNew);
  EXPECT_FALSE(RunFlags().created);
  EXPECT_TRUE(RunFlags().absent);
  EXPECT_FALSE(reference.IsPrepared(Cell()));

  RegisterOf(otherData).Take();
  StepOnce();
  EXPECT_TRUE(RunFlags().created);
  ASSERT_TRUE(reference.IsPrepared(Cell()));
  StepOnce();
  EXPECT_FALSE(RegisterOf(newArc).HasToken());  // the "new" token went in
}

TEST_F(StepTest, RecreatedInstanceRevivesItsWholeSubtree) {
  Define("leaf");
  Module& cell = Define("cell");
  AddPort(cell, "new");
  AddPort(cell, "delete");
  const int leafId = AddInstance(cell, "leaf");
  const auto [instance, newArc, deleteArc] = PlaceDynamic(Top(), "cell", "1");
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  StepTimes(2);
  RuntimeInstance& leaf = Root().Child(instance).Child(leafId);
  ASSERT_TRUE(RegisterOf(deleteArc).Put(1));
  StepOnce();
  EXPECT_TRUE(leaf.deleted);
  EXPECT_FALSE(reference.IsPrepared(leaf));

  ASSERT_TRUE(RegisterOf(newArc).Put(1));
  StepTimes(2);  // to the exit, then the creation
  EXPECT_FALSE(leaf.deleted);
  EXPECT_TRUE(reference.IsPrepared(leaf));
  EXPECT_EQ(std::count(reference.schedule().begin(), reference.schedule().end(), &leaf), 1);
}

TEST_F(StepTest, DeletingAHostOfAnUncreatedRecursionRaises101ThenDeletingAgain102) {
  Module& y = Define("y");
  AddPort(y, "new");
  AddInstance(y, "y");  // repeats its own module: the "y" node becomes a dynamic host
  Module& x = Define("x");
  AddPort(x, "new");
  AddPort(x, "delete");
  AddInstance(x, "y");
  const auto [instance, newArc, deleteArc] = PlaceDynamic(Top(), "x", "1");
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  StepTimes(2);
  ASSERT_TRUE(reference.IsPrepared(Root().Child(instance)));

  ASSERT_TRUE(RegisterOf(deleteArc).Put(1));
  StepExpectingCondition(kLowerModuleNotDeleted);
  EXPECT_TRUE(Root().Child(instance).deleted);
  StepExpectingCondition(kDeletedTwice);
  EXPECT_THAT(log.lines, ElementsAre("再構成", "モジュールでエラー", "モジュールでエラー"));
}

TEST_F(StepTest, ResetRemovesInstancesCreatedForARecursionAndGoesBackToTheDesign) {
  AddPort(Top(), "new");
  const int instance = AddInstance(Top(), "untitle");
  Connect(Top(), AddRegister(Top(), "1"), instance, "new");
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  EXPECT_TRUE(Root().dynamicHost);
  StepOnce();
  RuntimeInstance& created = Root().Child(instance);
  EXPECT_TRUE(reference.IsPrepared(created));
  EXPECT_TRUE(created.dynamic);
  library.GoToTreeItem(created.treeItem);
  ASSERT_EQ(&library.currentInstance(), &created);

  reference.End();
  EXPECT_TRUE(Root().children.empty());
  EXPECT_FALSE(reference.IsPrepared(Root()));
  EXPECT_TRUE(reference.schedule().empty());
  EXPECT_EQ(&library.currentInstance(), &Root());
  EXPECT_EQ(&library.currentModule(), &Top());
}

TEST_F(StepTest, DeletingTheInstanceShownMovesTheViewToItsParent) {
  Module& cell = Define("cell");
  AddPort(cell, "new");
  AddPort(cell, "delete");
  const auto [instance, newArc, deleteArc] = PlaceDynamic(Top(), "cell", "1");
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  library.GoToTreeItem(Root().treeItem);
  StepOnce();
  library.EnterInstance(instance, "cell", &reference);
  ASSERT_EQ(&library.currentInstance(), &Root().Child(instance));

  ASSERT_TRUE(RegisterOf(deleteArc).Put(1));
  StepTimes(2);
  EXPECT_EQ(&library.currentInstance(), &Root());
  EXPECT_EQ(&library.currentModule(), &Top());
  EXPECT_THAT(log.lines, ::testing::Contains("モジュールがdeleteされたのでviewを変更します"));
}

}  // namespace
}  // namespace pelkor
