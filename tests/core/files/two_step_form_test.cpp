// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/two_step_form.h"

#include <gtest/gtest.h>

namespace pelkor {
namespace {

TEST(TwoStepFormTest, AlwaysTrueChoiceIsXOrNotX) {
  EXPECT_TRUE(IsAlwaysTrueChoice("back = c | ~c;"));
  EXPECT_TRUE(IsAlwaysTrueChoice(" b =\r\n (x & y) |\t~ (x&y) ;\r\n"));
  EXPECT_TRUE(IsAlwaysTrueChoice("b = c | ~c; later = d;"));
  EXPECT_FALSE(IsAlwaysTrueChoice("b = c | ~d;"));
  EXPECT_FALSE(IsAlwaysTrueChoice("b = c | d | ~c;"));  // the first "|" decides
  EXPECT_FALSE(IsAlwaysTrueChoice("b = ~c | c;"));
  EXPECT_FALSE(IsAlwaysTrueChoice("b = c | ~c"));      // no ";" after the "~"
  EXPECT_FALSE(IsAlwaysTrueChoice("c | ~c; b = c;"));  // "=" after the "|"
  EXPECT_FALSE(IsAlwaysTrueChoice("b = c |"));
  EXPECT_FALSE(IsAlwaysTrueChoice(""));
}

TEST(TwoStepFormTest, SpacesOnlyRemovalKeepsLineBreaksAndTabs) {
  EXPECT_TRUE(IsAlwaysTrueChoice(" b = c | ~c ;", BlankRemoval::kSpacesOnly));
  EXPECT_FALSE(IsAlwaysTrueChoice("b = c |\r\n~c;", BlankRemoval::kSpacesOnly));
  EXPECT_FALSE(IsAlwaysTrueChoice("b = c |\t~c;", BlankRemoval::kSpacesOnly));
}

class TwoStepFormMachineTest : public ::testing::Test {
 protected:
  void SetState(int id, const std::string& first, const std::string& second) {
    machine_.states[id].firstText.source = first;
    machine_.states[id].secondText.source = second;
  }
  bool Decide() {
    machine_.Regenerate();
    return IsTwoStepForm(machine_);
  }

  StateMachine machine_;
};

TEST_F(TwoStepFormMachineTest, MainStateChoosesAndOthersReturn) {
  machine_.mainState = 1;
  SetState(1, "// choose\r\n", "to2 = a; to3 = ~a;");
  SetState(2, "x = b;", "back = a | ~a;");
  SetState(3, "? g; y = b; z = c;", "home = (a&b) | ~(a&b);");
  EXPECT_TRUE(Decide());
}

TEST_F(TwoStepFormMachineTest, EveryConditionIsNeeded) {
  machine_.mainState = 1;
  SetState(1, "", "to2 = a; to3 = ~a;");
  SetState(2, "x = b;", "back = a | ~a;");
  ASSERT_TRUE(Decide());

  SetState(1, "w = a;", "to2 = a; to3 = ~a;");  // the main state has an output
  EXPECT_FALSE(Decide());
  SetState(1, "", "to2 = a;");  // the main state chooses among fewer than two
  EXPECT_FALSE(Decide());
  SetState(1, "", "to2 = a; to3 = ~a;");
  SetState(2, "", "back = a | ~a;");  // another state has no output
  EXPECT_FALSE(Decide());
  SetState(2, "x = b;", "back = a | ~a; again = a;");  // two ways out
  EXPECT_FALSE(Decide());
  SetState(2, "x = b;", "back = a;");  // not always taken
  EXPECT_FALSE(Decide());
  SetState(2, "x = b;", "back = a | ~a;");
  machine_.mainState = 7;  // no such state
  EXPECT_FALSE(Decide());
}

}  // namespace
}  // namespace pelkor
