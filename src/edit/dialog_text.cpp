// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/dialog_text.h"

#include <algorithm>
#include <limits>

namespace pelkor {

int DecimalValue(std::string_view text) {
  constexpr int kMax = std::numeric_limits<int>::max();
  int value = 0;
  for (const char ch : text) {
    if (ch < '0' || ch > '9')
      break;
    const int digit = ch - '0';
    if (value > (kMax - digit) / 10)
      return kMax;
    value = value * 10 + digit;
  }
  return value;
}

int CountNumberOfText(std::string_view text) {
  return std::clamp(DecimalValue(text), kMinCountNumber, kMaxCountNumber);
}

std::string TrimmedName(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n\v\f";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos)
    return {};
  return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

std::string EditLineBreaks(std::string_view recordText) {
  std::string text;
  for (std::size_t i = 0; i < recordText.size(); ++i) {
    if (recordText[i] == '\r' && i + 1 < recordText.size() && recordText[i + 1] == '\n')
      continue;
    text += recordText[i];
  }
  return text;
}

std::string RecordLineBreaks(std::string_view editText) {
  std::string text;
  for (std::size_t i = 0; i < editText.size(); ++i) {
    if (editText[i] == '\n' && (i == 0 || editText[i - 1] != '\r'))
      text += '\r';
    text += editText[i];
  }
  return text;
}

}  // namespace pelkor
