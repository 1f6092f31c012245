// SPDX-License-Identifier: GPL-3.0-or-later
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

bool ExpectsValues(const SinkTransition& sink) {
  // Asked after every step of a run, so the bits are not built.
  const bool compares = sink.outputMode == 0 || sink.outputMode == 1;
  return compares && std::any_of(sink.expected.begin(), sink.expected.end(), [&](char c) {
           return sink.hexDisplay ? HexDigitValue(c) >= 0 : c == '0' || c == '1';
         });
}

SinkVerdict Verify(const SinkTransition& sink, const std::vector<int>& received) {
  if (!ExpectsValues(sink))
    return SinkVerdict::kNone;
  return FirstMismatch(sink, received) ? SinkVerdict::kFail : SinkVerdict::kPass;
}

std::vector<int> ExpectedArrivals(const SinkTransition& sink) {
  if (!ExpectsValues(sink))
    return {};
  // A "Little" sink expects its values newest first, so they arrive in reverse.
  std::vector<int> expected = ExpectedBits(sink);
  if (sink.outputMode == 1)
    std::reverse(expected.begin(), expected.end());
  return expected;
}

std::optional<std::size_t> FirstMismatch(const SinkTransition& sink,
                                         const std::vector<int>& received) {
  if (!ExpectsValues(sink))
    return std::nullopt;
  const std::vector<int> expected = ExpectedArrivals(sink);
  const auto departs =
      std::mismatch(received.begin(), received.end(), expected.begin(), expected.end()).first;
  if (departs == received.end() && received.size() == expected.size())
    return std::nullopt;
  return static_cast<std::size_t>(departs - received.begin());
}

SinkVerdict LiveVerdict(const SinkTransition& sink, const std::vector<int>& received) {
  if (!ExpectsValues(sink))
    return SinkVerdict::kNone;
  const std::optional<std::size_t> mismatch = FirstMismatch(sink, received);
  return mismatch && *mismatch < received.size() ? SinkVerdict::kFail : SinkVerdict::kPass;
}

const char* LiveVerdictText(SinkVerdict verdict) {
  switch (verdict) {
    case SinkVerdict::kPass:
      return "OK";
    case SinkVerdict::kFail:
      return "NG";
    case SinkVerdict::kNone:
      break;
  }
  return "";
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
