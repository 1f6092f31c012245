// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/sink_verification.h"

#include <gtest/gtest.h>

namespace pelkor {
namespace {

SinkTransition Sink(const std::string& expected, bool hex = false, int mode = 0) {
  SinkTransition sink;
  sink.expected = expected;
  sink.hexDisplay = hex;
  sink.outputMode = mode;
  return sink;
}

TEST(SinkVerificationTest, ExpectedBitsIgnoreOtherCharacters) {
  EXPECT_EQ(ExpectedBits(Sink("01\r\n1 x0")), (std::vector<int>{0, 1, 1, 0}));
  EXPECT_EQ(ExpectedBits(Sink("a3", true)), (std::vector<int>{1, 0, 1, 0, 0, 0, 1, 1}));
  EXPECT_EQ(ExpectedBits(Sink("F\r\ng", true)), (std::vector<int>{1, 1, 1, 1}));
}

TEST(SinkVerificationTest, BigComparesInArrivalOrderAndLittleInReverse) {
  EXPECT_EQ(Verify(Sink("0111"), {0, 1, 1, 1}), SinkVerdict::kPass);
  EXPECT_EQ(Verify(Sink("0111"), {1, 1, 1, 0}), SinkVerdict::kFail);
  EXPECT_EQ(Verify(Sink("0111", false, 1), {1, 1, 1, 0}), SinkVerdict::kPass);
  EXPECT_EQ(Verify(Sink("0111", false, 1), {0, 1, 1, 1}), SinkVerdict::kFail);
  EXPECT_EQ(Verify(Sink("011"), {0, 1, 1, 1}), SinkVerdict::kFail);  // one value too many
  EXPECT_EQ(Verify(Sink("011"), {0, 1}), SinkVerdict::kFail);
  EXPECT_EQ(Verify(Sink("6", true), {0, 1, 1, 0}), SinkVerdict::kPass);
}

TEST(SinkVerificationTest, FirstMismatchIsTheFirstValueInArrivalOrderThatDeparts) {
  struct Case {
    SinkTransition sink;
    std::vector<int> received;
    std::optional<std::size_t> mismatch;
  };
  const Case cases[] = {
      {Sink("0110"), {0, 1, 1, 0}, std::nullopt},
      {Sink("0110"), {0, 1, 0, 0}, 2},
      {Sink("0110"), {1, 1, 1, 0}, 0},
      {Sink("0110"), {0, 1, 1, 0, 1}, 4},  // a value beyond the expected ones
      {Sink("0110"), {0, 1}, 2},           // the third value never came
      {Sink("0110"), {}, 0},
      {Sink("0111", false, 1), {1, 1, 1, 0}, std::nullopt},
      {Sink("0111", false, 1), {1, 0, 1, 0}, 1},  // newest first: 1, 1, 1, 0 must arrive
      {Sink("0111", false, 1), {1, 1}, 2},
      {Sink("6", true), {0, 1, 1}, 3},
      {Sink("01", false, 2), {1, 1}, std::nullopt},  // discards: no verdict
      {Sink(""), {1}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.received) + " against " + c.sink.expected);
    EXPECT_EQ(FirstMismatch(c.sink, c.received), c.mismatch);
    EXPECT_EQ(Verify(c.sink, c.received) == SinkVerdict::kFail, c.mismatch.has_value());
  }
}

TEST(SinkVerificationTest, NoExpectationGivesNoVerdict) {
  EXPECT_EQ(Verify(Sink(""), {1}), SinkVerdict::kNone);
  EXPECT_EQ(Verify(Sink("xy"), {}), SinkVerdict::kNone);
  EXPECT_EQ(Verify(Sink("01", false, 2), {1}), SinkVerdict::kNone);
  EXPECT_EQ(Verify(Sink("01", false, 3), {0, 1}), SinkVerdict::kNone);
  EXPECT_STREQ(VerdictName(SinkVerdict::kNone), "none");
  EXPECT_STREQ(VerdictName(SinkVerdict::kFail), "fail");
}

TEST(SinkVerificationTest, LiveVerdictPassesWhileTheValuesSoFarAgree) {
  struct Case {
    SinkTransition sink;
    std::vector<int> received;
    SinkVerdict verdict;
  };
  const Case cases[] = {
      {Sink("0110"), {}, SinkVerdict::kPass},
      {Sink("0110"), {0, 1}, SinkVerdict::kPass},  // waits for the rest
      {Sink("0110"), {0, 1, 1, 0}, SinkVerdict::kPass},
      {Sink("0110"), {0, 0}, SinkVerdict::kFail},
      {Sink("0110"), {0, 1, 1, 0, 0}, SinkVerdict::kFail},  // one value too many
      {Sink("0111", false, 1), {1, 1}, SinkVerdict::kPass},
      {Sink("0111", false, 1), {0}, SinkVerdict::kFail},
      {Sink("01", false, 3), {1, 1}, SinkVerdict::kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.received) + " against " + c.sink.expected);
    EXPECT_EQ(LiveVerdict(c.sink, c.received), c.verdict);
  }
  EXPECT_STREQ(LiveVerdictText(SinkVerdict::kPass), "OK");
  EXPECT_STREQ(LiveVerdictText(SinkVerdict::kFail), "NG");
  EXPECT_STREQ(LiveVerdictText(SinkVerdict::kNone), "");
}

}  // namespace
}  // namespace pelkor
