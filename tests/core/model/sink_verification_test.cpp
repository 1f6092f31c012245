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

TEST(SinkVerificationTest, NoExpectationGivesNoVerdict) {
  EXPECT_EQ(Verify(Sink(""), {1}), SinkVerdict::kNone);
  EXPECT_EQ(Verify(Sink("xy"), {}), SinkVerdict::kNone);
  EXPECT_EQ(Verify(Sink("01", false, 2), {1}), SinkVerdict::kNone);
  EXPECT_EQ(Verify(Sink("01", false, 3), {0, 1}), SinkVerdict::kNone);
  EXPECT_STREQ(VerdictName(SinkVerdict::kNone), "none");
  EXPECT_STREQ(VerdictName(SinkVerdict::kFail), "fail");
}

}  // namespace
}  // namespace pelkor
