// SPDX-License-Identifier: GPL-3.0-or-later
// A hierarchy built from the first half of the input, run forward, back and to any step as the
// second half chooses: any state that differs from a run straight to its step aborts with both
// descriptions.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "random_design.h"
#include "rewind_comparison.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pelkor;
  const std::size_t half = size / 2;
  testing::RewindComparison comparison([data, half](ModuleLibrary& library) {
    testing::ByteChoices choices(data, half);
    testing::RandomDesign(choices).Build(library);
  });
  testing::ByteChoices moves(data + half, size - half);
  const std::string difference = comparison.Run(moves, 48, 64);
  if (!difference.empty()) {
    std::fputs(difference.c_str(), stderr);
    std::abort();
  }
  return 0;
}
