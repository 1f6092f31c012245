// SPDX-License-Identifier: GPL-3.0-or-later
// The workspace's engine against the reference step on random hierarchies: after the check and
// after every step both must show the same messages, activity, conditions, tree, schedule and
// run-time state.
#include <gtest/gtest.h>

#include "engine_comparison.h"
#include "random_design.h"

namespace pelkor {
namespace {

using testing::EngineComparison;
using testing::RandomDesign;
using testing::SeededChoices;

TEST(EngineDifferentialTest, RandomHierarchiesRunAsInTheReference) {
  std::set<std::string> events;
  for (unsigned seed = 1; seed <= 1500; ++seed) {
    EngineComparison comparison([seed](ModuleLibrary& library) {
      SeededChoices choices(seed);
      RandomDesign(choices).Build(library);
    });
    const std::string difference = comparison.Run(80);
    ASSERT_EQ(difference, "") << "seed " << seed;
    events.insert(comparison.events().begin(), comparison.events().end());
  }
  // The designs reached every way a step can end and every creation and deletion path.
  for (const char* event : {"ok", "condition 100", "condition 101", "condition 102", "deleting",
                            "tree", "creation failed"}) {
    EXPECT_TRUE(events.contains(event)) << event;
  }
}

// The check goes on after making the working copies failed; a child left without one has no state
// for its instance to be wired to.
TEST(EngineDifferentialTest, AnInstanceWhoseModuleIsMissingIsCheckedAsInTheReference) {
  EngineComparison comparison([](ModuleLibrary& library) {
    Module& top = library.ModuleByName("untitle");
    const int ghost = testing::AddInstance(top, "ghost");
    testing::Connect(top, testing::AddSource(top, "1"), testing::AddRegister(top));
    library.ExpandInstance(ghost, "ghost", library.rootInstance());
  });
  EXPECT_EQ(comparison.Run(4), "");
}

}  // namespace
}  // namespace pelkor
