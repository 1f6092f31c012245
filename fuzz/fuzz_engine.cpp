// SPDX-License-Identifier: GPL-3.0-or-later
// Hierarchies built from the input bytes, run by the reference step and by the workspace's
// engine side by side: any difference in messages, conditions, tree or run-time state aborts
// with both descriptions.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine_comparison.h"
#include "random_design.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pelkor;
  testing::EngineComparison comparison([data, size](ModuleLibrary& library) {
    testing::ByteChoices choices(data, size);
    testing::RandomDesign(choices).Build(library);
  });
  const std::string difference = comparison.Run(64);
  if (!difference.empty()) {
    std::fputs(difference.c_str(), stderr);
    std::abort();
  }
  return 0;
}
