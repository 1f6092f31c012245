// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/text_fit.h"

#include <algorithm>
#include <cstdlib>

#include "view/simulation_texts.h"
#include "view/view_font.h"

namespace pelkor {

namespace {

constexpr std::string_view kEllipsis = "…";

}  // namespace

int DigitWidth(const LogFont& font) {
  if (font.width != 0)
    return static_cast<int>(std::min<long long>(std::llabs(font.width), 1000));
  return (FontPixelHeight(font) + 1) / 2;
}

int TextWidth(std::string_view text, const LogFont& font) {
  long long width = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80)
      width += 1;
    else if (byte >= 0xC0)  // the lead byte of a character beyond ASCII
      width += 2;
  }
  return static_cast<int>(std::min<long long>(width * DigitWidth(font), 1 << 20));
}

std::size_t PlacesIn(int room, int digitWidth) {
  const int places = room / std::max(digitWidth, 1);
  return std::clamp<std::size_t>(places > 0 ? static_cast<std::size_t>(places) : 1, 1,
                                 ShownTokens::kCapacity - 1);
}

std::string FittedBits(const ShownTokens& values, std::size_t places) {
  if (values.count <= places)
    return BitText(values);
  ShownTokens kept;
  for (std::size_t i = 0; i + 1 < places; ++i)
    kept.Push(values.values[i]);
  return BitText(kept) + std::string(kEllipsis);
}

}  // namespace pelkor
