// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/received_values.h"

#include <string>

namespace pelkor {
namespace {

constexpr int kBig = 0;
constexpr int kLittle = 1;
constexpr std::size_t kPerLine = 16;
constexpr std::string_view kLineBreak = "\r\n";

std::string BigLines(std::string_view values) {
  std::string shown;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0 && i % kPerLine == 0)
      shown += kLineBreak;
    shown += values[i];
  }
  return shown;
}

// Last value first; the first value, written last, always stays on the line before it.
std::string LittleLines(std::string_view values) {
  std::string shown;
  const std::size_t last = values.size() - 1;
  for (std::size_t k = 0; k < values.size(); ++k) {
    if (k > 0 && k % kPerLine == 0 && k != last)
      shown += kLineBreak;
    shown += values[last - k];
  }
  return shown;
}

std::string HexLines(std::string_view bits) {
  std::string shown;
  for (std::size_t i = 0; i < bits.size(); i += 4) {
    int digit = 0;
    for (std::size_t j = i; j < i + 4; ++j)
      digit = digit * 2 + (bits[j] == '1' ? 1 : 0);
    shown += "0123456789ABCDEF"[digit];
    if ((i / 4 + 1) % kPerLine == 0)
      shown += kLineBreak;
  }
  return shown;
}

}  // namespace

std::string ReceivedText(const std::vector<int>& received) {
  std::string text;
  for (const int value : received)
    text += std::to_string(value);
  return text;
}

std::string FormatReceivedValues(std::string_view receivedText, int outputMode, bool hexDisplay) {
  if (outputMode != kBig && outputMode != kLittle)
    return {};
  if (!hexDisplay || receivedText.size() % 4 != 0) {
    if (receivedText.empty())
      return {};
    return outputMode == kBig ? BigLines(receivedText) : LittleLines(receivedText);
  }
  if (outputMode == kBig)
    return HexLines(receivedText);
  return HexLines(std::string(receivedText.rbegin(), receivedText.rend()));
}

}  // namespace pelkor
