// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/simulation_texts.h"

#include <algorithm>

namespace pelkor {

std::string CellText(const ShownTokens& exitFirst, int direction) {
  std::string text;
  for (std::size_t i = 0; i < exitFirst.count; ++i) {
    const int value = exitFirst.values[i];
    text += value == 0 ? '0' : value == 1 ? '1' : ' ';
  }
  if (direction == 2)
    std::reverse(text.begin(), text.end());
  return text;
}

std::string BitText(const ShownTokens& values) {
  std::string text;
  for (std::size_t i = 0; i < values.count; ++i)
    text += values.values[i] == 1 ? '1' : '0';
  return text;
}

ShownTokens ReceivedTokens(const RunStateReader& state, int sinkId, int outputMode,
                           std::size_t limit) {
  switch (outputMode) {
    case 0:
      return state.SinkReceivedFront(sinkId, limit);
    case 1:
      return state.SinkReceivedBack(sinkId, limit);
    default:
      return {};
  }
}

}  // namespace pelkor
