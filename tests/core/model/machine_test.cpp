// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "base/errors.h"
#include "model/primitives.h"

namespace pelkor {
namespace {

MachineState MakeState(const std::string& first, const std::string& second) {
  MachineState state;
  state.firstText.source = first;
  state.secondText.source = second;
  return state;
}

TEST(MachineStateTest, RegenerateDerivesGuardNamesAndArcTable) {
  MachineState state = MakeState("? go;\r\nsum = a ^ b;\r\n", "next = c; stay = ~c;");
  state.Regenerate();
  EXPECT_TRUE(state.hasGuard);
  EXPECT_EQ(state.firstText.guard, "i1");
  EXPECT_EQ(state.firstText.translated, "o1=i2^i3\n");
  EXPECT_EQ(state.inputNames, (std::set<std::string>{"a", "b", "c", "go"}));
  EXPECT_EQ(state.arcNames, (std::map<int, std::string>{{1, "next"}, {2, "stay"}}));
}

TEST(MachineStateTest, RegenerateClearsWhatAnEarlierTextDerived) {
  MachineState state = MakeState("? go; x = a;", "n = b;");
  state.Regenerate();
  state.firstText.source = "y = d;";
  state.secondText.source = "";
  state.Regenerate();
  EXPECT_FALSE(state.hasGuard);
  EXPECT_EQ(state.firstText.guard, "");
  EXPECT_EQ(state.inputNames, std::set<std::string>{"d"});
  EXPECT_TRUE(state.arcNames.empty());
}

TEST(MachineStateTest, SecondTextIsNormalizedBeforeFirstTextIsChecked) {
  // Both texts are normalized before either is scanned for names, so the normalization
  // failure of the second text wins over the naming failure of the first.
  MachineState state = MakeState("x = a; x = b;", "y = a b;");
  try {
    state.Regenerate();
    FAIL() << "no error thrown";
  } catch (const MessageError& e) {
    EXPECT_STREQ(e.what(), "正規化：セミコロンが無い");
  }
}

TEST(StateMachineTest, RegenerateUnitesNameSetsOfAllStates) {
  StateMachine machine;
  machine.states[1] = MakeState("p = a;", "to2 = b;");
  machine.states[2] = MakeState("q = c; p = d;", "to1 = e;");
  machine.stateArcs[1] = {1, 2, {}, "to2"};
  machine.Regenerate();
  EXPECT_EQ(machine.inputNames, (std::set<std::string>{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(machine.outputNames, (std::set<std::string>{"p", "q"}));
  machine.ResetNextIds();
  EXPECT_EQ(machine.nextStateId, 3);
  EXPECT_EQ(machine.nextStateArcId, 2);
}

TEST(CounterTest, RegenerateThrowsTextErrors) {
  Counter counter;
  counter.countText.source = "= a;";
  EXPECT_THROW(counter.Regenerate(), MessageError);
  counter.countText.source = "c = a & b;";
  counter.Regenerate();
  EXPECT_EQ(counter.countText.translated, "o1=i1&i2\n");
}

}  // namespace
}  // namespace pelkor
