// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace pelkor {

// The SHA-256 digest of a text: a fixed-size stand-in for a large text when all that is asked
// later is whether another text equals it.
using TextDigest = std::array<std::uint8_t, 32>;

TextDigest DigestOf(std::string_view text);

}  // namespace pelkor
