// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/bit_text.h"

namespace pelkor {
namespace {

bool IsAllowed(char ch, bool hexEntry) {
  if (ch == '\r' || ch == '\n')
    return true;
  if (hexEntry)
    return ch >= '0' && ch <= 'F';  // also admits the punctuation from ':' to '@'
  return ch == '0' || ch == '1' || ch == '\0';
}

}  // namespace

std::optional<std::size_t> FindInvalidBitCharacter(std::string_view text, bool hexEntry) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsAllowed(text[i], hexEntry))
      return i;
  }
  return std::nullopt;
}

}  // namespace pelkor
