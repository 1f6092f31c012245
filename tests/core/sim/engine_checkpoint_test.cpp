// SPDX-License-Identifier: GPL-3.0-or-later
// Going back through checkpoints on random hierarchies: after any mix of steps forward, steps
// back and jumps, the run holds what a run straight to that step holds.
#include <gtest/gtest.h>

#include "random_design.h"
#include "rewind_comparison.h"

namespace pelkor {
namespace {

using testing::RandomDesign;
using testing::RewindComparison;
using testing::SeededChoices;

TEST(EngineCheckpointTest, AnyWayToAStepEndsInTheStateOfARunStraightToIt) {
  for (unsigned seed = 1; seed <= 400; ++seed) {
    RewindComparison comparison([seed](ModuleLibrary& library) {
      SeededChoices choices(seed);
      RandomDesign(choices).Build(library);
    });
    SeededChoices moves(seed * 7919U);
    ASSERT_EQ(comparison.Run(moves, 40, 60), "") << "seed " << seed;
  }
}

}  // namespace
}  // namespace pelkor
