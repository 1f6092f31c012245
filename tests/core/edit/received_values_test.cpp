// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "edit/received_values.h"

namespace pelkor {
namespace {

TEST(ReceivedValuesTest, ReceivedTextWritesEveryValueInDecimalWithoutSeparators) {
  EXPECT_EQ(ReceivedText({}), "");
  EXPECT_EQ(ReceivedText({0, 0, 0, 1, 1, 0, 1, 0}), "00011010");
  EXPECT_EQ(ReceivedText({1, 12, -1}), "112-1");
}

struct DisplayCase {
  std::string received;
  int outputMode;
  bool hexDisplay;
  std::string shown;
};

TEST(ReceivedValuesTest, DisplaysByOutputModeAndHexadecimalGroups) {
  const std::string letters17 = "ABCDEFGHIJKLMNOPQ";
  const std::string letters33 = letters17 + "abcdefghijklmnop";
  const std::string zeros64(64, '0');
  const DisplayCase cases[] = {
      // Hexadecimal groups, most significant bit first; Little reverses the values first.
      {"00011010", 0, true, "1A"},
      {"00011010", 1, true, "58"},
      {"1111000010100101", 0, true, "F0A5"},
      {"1111000010100101", 1, true, "A50F"},
      {zeros64, 0, true, std::string(16, '0') + "\r\n"},
      {zeros64 + "1111", 0, true, std::string(16, '0') + "\r\nF"},
      {"", 1, true, ""},
      // A length that is no multiple of 4 shows single digits.
      {"10110", 0, true, "10110"},
      {"10110", 1, true, "01101"},
      {"00011010", 0, false, "00011010"},
      {"00011010", 1, false, "01011000"},
      // Lines of 16; in Little the first value never starts a line of its own.
      {letters17, 0, false, "ABCDEFGHIJKLMNOP\r\nQ"},
      {letters17.substr(0, 16), 1, false, "PONMLKJIHGFEDCBA"},
      {letters17, 1, false, "QPONMLKJIHGFEDCBA"},
      {letters17 + "R", 1, false, "RQPONMLKJIHGFEDC\r\nBA"},
      {letters33, 0, false, "ABCDEFGHIJKLMNOP\r\nQabcdefghijklmno\r\np"},
      {letters33, 1, false, "ponmlkjihgfedcba\r\nQPONMLKJIHGFEDCBA"},
      // Discard and do-not-consume show nothing.
      {"00011010", 2, true, ""},
      {"00011010", 3, false, ""},
      {"1", 7, false, ""},
  };
  for (const DisplayCase& c : cases) {
    EXPECT_EQ(FormatReceivedValues(c.received, c.outputMode, c.hexDisplay), c.shown)
        << "received \"" << c.received << "\", mode " << c.outputMode << ", hex " << c.hexDisplay;
  }
}

}  // namespace
}  // namespace pelkor
