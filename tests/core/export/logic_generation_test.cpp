// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/logic_generation.h"

#include <gtest/gtest.h>

#include "bsp_fixtures.h"
#include "export/bsp_writer.h"

namespace pelkor {
namespace {

using bsp_fixtures::CounterOf;
using bsp_fixtures::Expected;
using bsp_fixtures::Machine;
using bsp_fixtures::State;

TEST(CounterLogicTest, BitCountIsTheSquareRootRoundedUp) {
  const std::pair<int, int> cases[] = {{1, 1}, {4, 2}, {8, 3}, {9, 3}, {10, 4}, {100, 10}};
  for (const auto& [countNumber, bits] : cases) {
    EXPECT_EQ(CounterBitCount(countNumber), bits) << countNumber;
  }
  EXPECT_TRUE(CounterFitsLogic(CounterOf({}, 99 * 99)));
  EXPECT_FALSE(CounterFitsLogic(CounterOf({}, 99 * 99 + 1)));
  EXPECT_FALSE(CounterFitsLogic(CounterOf({}, 0)));
}

TEST(CounterLogicTest, TogglesEachBitWhenAllLowerBitsAreSet) {
  EXPECT_EQ(CounterLogic(CounterOf({}, 1)), "co1=~ci1;\r\nstart=ci1;");
  EXPECT_EQ(CounterLogic(CounterOf({}, 9)),
            "co1=~ci1;\r\nco2=ci2^ci1;\r\nco3=ci3^(ci2&ci1);\r\nstart=ci1&ci2&ci3;");
  EXPECT_EQ(CounterLogic(CounterOf({}, 9, "x = a;")), "");
}

std::string CounterFile(const Counter& counter, const std::string& fileName) {
  BspDocument document;
  WriteCounterModule(document, fileName, counter);
  EXPECT_TRUE(document.subModules.empty());
  return document.text;
}

TEST(CounterModuleTest, WritesOneChainedBitRegisterPerBit) {
  EXPECT_EQ(CounterFile(CounterOf({}, 1), "count1.bsp"), Expected("count1.bsp"));
  EXPECT_EQ(CounterFile(CounterOf({}, 4), "count4.bsp"), Expected("count4.bsp"));
  EXPECT_EQ(CounterFile(CounterOf({}, 10), "count10.bsp"), Expected("count10.bsp"));
}

TEST(CounterModuleTest, OwnCountTextLeavesTheMachineEmptyButKeepsTheRegisters) {
  EXPECT_EQ(CounterFile(CounterOf({}, 1, "x = a;"), "count1.bsp"), Expected("count1_text.bsp"));
}

std::string StateMachineFile(const StateMachine& machine, const std::string& fileName) {
  BspDocument document;
  WriteStateMachineModule(document, fileName, machine);
  return document.text;
}

TEST(StateMachineModuleTest, GuardedFormHasOneMachinePerArcOutOfTheMainState) {
  EXPECT_EQ(StateMachineFile(bsp_fixtures::GuardedMachine(), "state2.bsp"), Expected("state2.bsp"));
}

TEST(StateMachineModuleTest, RingFormStartsEmptyWhenTheFirstStateIsNotMain) {
  EXPECT_EQ(StateMachineFile(bsp_fixtures::RingMachine(), "state1.bsp"),
            Expected("ring_state1.bsp"));
}

// The texts of the generated machines, in creation order.
std::vector<std::string> MachineTexts(const Module& module) {
  std::vector<std::string> texts;
  for (const auto& [id, machine] : module.stateMachines) {
    texts.push_back(machine.states.at(1).firstText.source);
  }
  return texts;
}

TEST(StateMachineModuleTest, GuardedFormWithoutAConditionToCopyWritesAnEmptyGuard) {
  // "stop" occurs only in the comment after the last ";", "gone" not at all, and the unnamed
  // arc has no name to look for.
  StateMachine machine = Machine({State("", "go = a; // stop"), State("x = a;")}, 1);
  bsp_fixtures::AddStateArc(machine, 1, 2, "stop");
  bsp_fixtures::AddStateArc(machine, 1, 2, "gone");
  bsp_fixtures::AddStateArc(machine, 1, 2, "");
  bsp_fixtures::AddStateArc(machine, 1, 2, "go");
  EXPECT_EQ(
      MachineTexts(BuildStateMachineModule(machine)),
      (std::vector<std::string>{"?\r\nx = a;", "?\r\nx = a;", "?\r\nx = a;", "? a;\n\r\nx = a;"}));
}

TEST(StateMachineModuleTest, RingMainStateWithoutArcSelectionNegatesTheRing) {
  // A right side is copied as typed, up to the end of its line.
  StateMachine machine = Machine({State("y = a;"), State("y = b;", "next = a; // x\r\n")}, 1);
  const Module module = BuildStateMachineModule(machine);
  EXPECT_EQ(MachineTexts(module),
            (std::vector<std::string>{"?seniin;\r\ny = a;\r\nseniout = ~seniin",
                                      "?~seniin;\r\ny = b;\r\nseniout =  a; // x\n"}));
  // The first state is the main state: the ring starts with a token.
  const ShiftRegister& ring = module.shiftRegisters.at(7);
  EXPECT_EQ(ring.position, (Point{0, 0}));
  EXPECT_EQ(ring.contents, "1");
}

TEST(StateMachineModuleTest, MachineWithoutItsMainStateGivesOnlyItsPorts) {
  StateMachine machine = Machine({State("x = a;"), State("x = b;")}, 7);
  const Module module = BuildStateMachineModule(machine);
  EXPECT_TRUE(module.stateMachines.empty());
  EXPECT_EQ(module.sources.size(), 2u);
  EXPECT_EQ(module.sinks.size(), 1u);
  EXPECT_EQ(module.arcs.size(), 3u);
}

}  // namespace
}  // namespace pelkor
