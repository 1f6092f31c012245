// SPDX-License-Identifier: GPL-3.0-or-later
// Where the moments to go back to lie: close before the present, evenly over the past, within
// the memory budget; and the script's replacements kept with their steps.
#include <gtest/gtest.h>

#include <algorithm>

#include "workspace/run_timeline.h"

namespace pelkor {
namespace {

// Runs to `present`, keeping each moment the timeline wants; each holds `seenRows` rows.
RunTimeline RunTo(std::int64_t present, std::size_t budget, std::size_t seenRows) {
  RunTimeline timeline;
  timeline.SetBudget(budget);
  timeline.Start(RunMoment{});
  for (std::int64_t step = 1; step <= present; ++step) {
    if (timeline.Wants(step, step))
      timeline.Keep(step, RunMoment{{}, std::vector<std::size_t>(seenRows), {}, 0}, step);
    EXPECT_LE(timeline.Bytes(), budget) << "step " << step;
  }
  return timeline;
}

std::int64_t WidestGap(const std::vector<std::int64_t>& steps) {
  std::int64_t widest = 0;
  for (std::size_t k = 1; k < steps.size(); ++k)
    widest = std::max(widest, steps[k] - steps[k - 1]);
  return widest;
}

TEST(RunTimelineTest, MomentsLieCloseBeforeThePresentAndEvenlyOverThePast) {
  struct Case {
    std::int64_t present;
    std::size_t budget;
    std::size_t seenRows;
  };
  for (const Case& c :
       {Case{20'000, RunTimeline::kDefaultBudget, 0}, Case{5'000, std::size_t{256} << 10, 1'000},
        Case{5'000, std::size_t{64} << 10, 1'000}}) {
    SCOPED_TRACE(std::to_string(c.present) + " steps within " + std::to_string(c.budget));
    const RunTimeline timeline = RunTo(c.present, c.budget, c.seenRows);
    const std::vector<std::int64_t> steps = timeline.Steps();
    ASSERT_GE(steps.size(), 2U);
    EXPECT_EQ(steps.front(), 0);
    EXPECT_GT(steps.back(), c.present - timeline.base());
    EXPECT_LE(steps.size(), RunTimeline::kMaxMoments);
    // Going back one step replays at most a few steps; to any step, at most the grid's
    // spacing, which doubles only when twice as many moments would not fit.
    const std::size_t fit =
        std::min(RunTimeline::kMaxMoments, c.budget / (c.seenRows * sizeof(std::size_t) + 1));
    EXPECT_LE(WidestGap(steps), 4 * c.present / static_cast<std::int64_t>(fit) + 1);
  }
}

TEST(RunTimelineTest, GoingBackForgetsTheLaterMomentsAndAReplacementTheLaterFuture) {
  RunTimeline timeline = RunTo(100, RunTimeline::kDefaultBudget, 0);
  timeline.ForgetAfter(41);
  EXPECT_EQ(timeline.AtOrBefore(60).first, timeline.Steps().back());
  EXPECT_LE(timeline.Steps().back(), 41);

  for (const std::int64_t step : {5, 8, 8, 6})
    timeline.NoteReplacement({step, "top", 1, {1}});
  EXPECT_EQ(timeline.ReplacementsAt(5).size(), 1U);
  EXPECT_EQ(timeline.ReplacementsAt(6).size(), 1U);
  EXPECT_TRUE(timeline.ReplacementsAt(8).empty());
}

}  // namespace
}  // namespace pelkor
