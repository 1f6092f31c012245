// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include <CLI/CLI.hpp>

namespace pelkor::cli {

// Accepts a whole number from `min` to `max` in decimal digits; the message of a refusal
// names the range.
CLI::Validator WholeNumberFrom(std::int64_t min, std::int64_t max);

// Accepts "K/N" with 1 <= K <= N, and "auto".
CLI::Validator ShardText();

}  // namespace pelkor::cli
