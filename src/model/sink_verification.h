// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "model/primitives.h"

namespace pelkor {

enum class SinkVerdict { kNone, kPass, kFail };

// A sink's expected values as bits: each "0" or "1" in order, or with hexadecimal display
// each hexadecimal digit as four bits, most significant first; other characters are ignored.
std::vector<int> ExpectedBits(const SinkTransition& sink);

// Whether a sink gets a verdict: it expects values and compares them, "Big" or "Little".
bool ExpectsValues(const SinkTransition& sink);

// Compares what a sink received with what it expects. "Big" compares in arrival order,
// "Little" in reverse (the sink shows the last value first); a sink without expectations, or
// one that discards or does not consume, has no verdict.
SinkVerdict Verify(const SinkTransition& sink, const std::vector<int>& received);

// Where the values a sink received, in arrival order, first depart from what it expects: the
// index of the first value that differs or that comes beyond the expected number, or, when
// every value received agrees but too few came, received.size(). None when the sink passes
// or has no verdict.
std::optional<std::size_t> FirstMismatch(const SinkTransition& sink,
                                         const std::vector<int>& received);

// Whether what a sink received so far still agrees with what it expects: a sink that waits for
// more values still passes, one that received a departing or an extra value fails.
SinkVerdict LiveVerdict(const SinkTransition& sink, const std::vector<int>& received);

// The expected value of each arrival in arrival order: the expected bits, reversed for
// "Little"; empty for a sink without a verdict.
std::vector<int> ExpectedArrivals(const SinkTransition& sink);

const char* VerdictName(SinkVerdict verdict);
// "OK" or "NG", as a sink shows its live verdict; empty without one.
const char* LiveVerdictText(SinkVerdict verdict);

}  // namespace pelkor
