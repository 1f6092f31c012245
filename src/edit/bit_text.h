// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace pelkor {

// The data texts of sources, sinks and shift registers are bit texts: "0" and "1" with line
// breaks (a NUL is tolerated), or, with hexadecimal entry, any character from "0" to "F" with
// line breaks. Returns the position of the first character that is not allowed; checking
// stops there.
std::optional<std::size_t> FindInvalidBitCharacter(std::string_view text, bool hexEntry);

}  // namespace pelkor
