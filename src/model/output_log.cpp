// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/output_log.h"

namespace pelkor {

std::string_view CutAtCharacterBoundary(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes)
    return text;
  std::size_t end = maxBytes;
  // Step back over continuation bytes (10xxxxxx) to the start of the cut character.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
    --end;
  return text.substr(0, end);
}

void OutputLog::WriteText(std::string_view text) {
  if (sink_ == nullptr)
    return;
  sink_->WriteLine(CutAtCharacterBoundary(text, kMaxLineBytes));
}

}  // namespace pelkor
