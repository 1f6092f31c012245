#include "model/sink_verification.h"

#include <algorithm>

namespace pelkor {

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

}  // namespace

std::vector<int> ExpectedBits(const SinkTransition& sink) {
  std::vector<int> bits;
  for (const char c : sink.expected) {
    if (sink.hexDisplay) {
      const int value = HexDigitValue(c);
      if (value < 0)
        continue;
      for (int shift = 3; shift >= 0; --shift)
        bits.push_back((value >> shift) & 1);
    } else if (c == '0' || c == '1') {
      bits.push_back(c - '0');
    }
  }
  return bits;
}

SinkVerdict Verify(const SinkTransition& sink, const std::vector<int>& received) {
  const std::vector<int> expected = ExpectedBits(sink);
  if (expected.empty() || (sink.outputMode != 0 && sink.outputMode != 1)) {
    return SinkVerdict::kNone;
  }
  const bool equal =
      sink.outputMode == 0
          ? std::equal(received.begin(), received.end(), expected.begin(), expected.end())
          : std::equal(received.rbegin(), received.rend(), expected.begin(), expected.end());
  return equal ? SinkVerdict::kPass : SinkVerdict::kFail;
}

const char* VerdictName(SinkVerdict verdict) {
  switch (verdict) {
    case SinkVerdict::kPass:
      return "pass";
    case SinkVerdict::kFail:
      return "fail";
    case SinkVerdict::kNone:
      break;
  }
  return "none";
}

}  // namespace pelkor
