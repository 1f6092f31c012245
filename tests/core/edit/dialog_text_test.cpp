// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "edit/dialog_text.h"

namespace pelkor {
namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();

TEST(DialogTextTest, DecimalValueReadsLeadingDigitsAndSaturates) {
  const std::pair<std::string, int> cases[] = {
      {"", 0},
      {"42", 42},
      {"007", 7},
      {"12ab3", 12},
      {"ab", 0},
      {" 5", 0},
      {"-3", 0},
      {"2147483647", kIntMax},
      {"2147483648", kIntMax},
      {"99999999999999999999", kIntMax},
  };
  for (const auto& [text, value] : cases)
    EXPECT_EQ(DecimalValue(text), value) << text;
}

TEST(DialogTextTest, CountNumberIsTheDecimalValueInTheUpDownRange) {
  const std::pair<std::string, int> cases[] = {
      {"", 1}, {"0", 1}, {"1", 1}, {"64x", 64}, {"128", 128}, {"129", 128}, {"99999999999", 128},
  };
  for (const auto& [text, value] : cases)
    EXPECT_EQ(CountNumberOfText(text), value) << text;
}

TEST(DialogTextTest, TrimmedNameCutsBlanksAtBothEndsOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {"  new \r\n", "new"},
      {"\t", ""},
      {"", ""},
      {" a b ", "a b"},
      {"\xE5\x85\xA5", "\xE5\x85\xA5"},
  };
  for (const auto& [text, trimmed] : cases)
    EXPECT_EQ(TrimmedName(text), trimmed) << text;
}

TEST(DialogTextTest, LineBreaksConvertBetweenRecordAndEdit) {
  EXPECT_EQ(EditLineBreaks("01\r\n10\r\n"), "01\n10\n");
  EXPECT_EQ(EditLineBreaks("a\rb\r"), "a\rb\r");
  EXPECT_EQ(RecordLineBreaks("01\n10\n"), "01\r\n10\r\n");
  EXPECT_EQ(RecordLineBreaks("\na\r\nb"), "\r\na\r\nb");
  EXPECT_EQ(RecordLineBreaks(EditLineBreaks("1\r\n\r\n0")), "1\r\n\r\n0");
}

}  // namespace
}  // namespace pelkor
