// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelkor {

// The values a sink received as the sink dialog's text: every value in decimal, no separators.
std::string ReceivedText(const std::vector<int>& received);

// The sink dialog's display of a ReceivedText (one digit per value, in arrival order) for an
// output mode: "Big" in arrival order, "Little" last value first, lines of 16 values broken by
// CR LF; with `hexDisplay` and a length that is a multiple of 4, every four values (most
// significant first) become one upper-case hexadecimal digit, 16 digits to a line. The other
// modes show nothing.
std::string FormatReceivedValues(std::string_view receivedText, int outputMode, bool hexDisplay);

}  // namespace pelkor
