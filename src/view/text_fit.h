// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "files/settings.h"
#include "view/run_state_reader.h"

namespace pelkor {

// The width the view reckons for a digit of the drawing font: its width when the settings give
// one, else half its height.
int DigitWidth(const LogFont& font);
// The width the view reckons for a text: a digit's width for each ASCII character, two for any
// other (the Japanese ones are full width).
int TextWidth(std::string_view text, const LogFont& font);

// How many places of `digitWidth` pixels `room` pixels hold: at least one, and no more than a
// ShownTokens can hold less one, so that reading one value more tells whether the rest is cut.
std::size_t PlacesIn(int room, int digitWidth);
// The values as "0" and "1" when they take no more than `places`; otherwise the first
// places - 1 of them and an ellipsis.
std::string FittedBits(const ShownTokens& values, std::size_t places);

}  // namespace pelkor
