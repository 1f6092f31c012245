#pragma once

#include <string>
#include <vector>

#include "model/primitives.h"

namespace pelkor {

enum class SinkVerdict { kNone, kPass, kFail };

// A sink's expected values as bits: each "0" or "1" in order, or with hexadecimal display
// each hexadecimal digit as four bits, most significant first; other characters are ignored.
std::vector<int> ExpectedBits(const SinkTransition& sink);

// Compares what a sink received with what it expects. "Big" compares in arrival order,
// "Little" in reverse (the sink shows the last value first); a sink without expectations, or
// one that discards or does not consume, has no verdict.
SinkVerdict Verify(const SinkTransition& sink, const std::vector<int>& received);

const char* VerdictName(SinkVerdict verdict);

}  // namespace pelkor
