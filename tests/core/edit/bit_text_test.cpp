// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "edit/bit_text.h"

namespace pelkor {
namespace {

using namespace std::string_view_literals;

struct BitTextCase {
  std::string_view text;
  bool hexEntry;
  std::optional<std::size_t> firstInvalid;
};

TEST(BitTextTest, FindsTheFirstCharacterThatIsNotAllowed) {
  const BitTextCase cases[] = {
      {"", false, std::nullopt},
      {"01\r\n10", false, std::nullopt},
      {"0\0"
       "1"sv,
       false, std::nullopt},
      {"01 1", false, 2},
      {"x1 ", false, 0},
      {"012", false, 2},
      {"1\r\nA", false, 3},
      {"\xEF\xBC\x91", false, 0},  // a full-width one
      {"1F\r\n0A", true, std::nullopt},
      {":;<=>?@", true, std::nullopt},
      {"1G", true, 1},
      {"1f", true, 1},
      {"/", true, 0},
      {"0\0"sv, true, 1},
  };
  for (const BitTextCase& c : cases) {
    EXPECT_EQ(FindInvalidBitCharacter(c.text, c.hexEntry), c.firstInvalid)
        << "text \"" << c.text << "\", hex " << c.hexEntry;
  }
}

}  // namespace
}  // namespace pelkor
