// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs one design twice in the workspace's engine: straight on, describing the state after
// every step, and moving forward, back and to any step through checkpoints taken now and then.
// At every point the moving run must describe as the straight one did at its step.

#include <map>
#include <string>
#include <vector>

#include "base/errors.h"
#include "engine_comparison.h"
#include "sim/simulation.h"
#include "sim/simulation_condition.h"

namespace pelkor::testing {

class RewindComparison {
 public:
  template <typename Build>
  explicit RewindComparison(Build build) {
    build(straight_.library);
    build(moving_.library);
  }

  // Makes `moves` moves chosen by `choices` within steps 0 to `lastStep`; returns the first
  // difference described, or an empty text.
  template <typename Choices>
  std::string Run(Choices& choices, int moves, int lastStep) {
    if (straight_.simulation.Check().failingNode != nullptr ||
        moving_.simulation.Check().failingNode != nullptr) {
      return "";
    }
    described_.push_back(Describe(straight_));
    checkpoints_.emplace(0, moving_.simulation.TakeCheckpoint());
    for (int move = 0; move < moves; ++move) {
      const int kind = choices.Pick(0, 3);
      std::int64_t target = present_ + choices.Pick(1, 6);
      if (kind == 2)
        target = present_ - choices.Pick(1, 4);
      else if (kind == 3)
        target = choices.Pick(0, lastStep);
      target = std::clamp<std::int64_t>(target, 0, lastStep);
      GoTo(target, choices);
      if (!Reach(target))
        return "";  // the tree outgrew what is compared
      const std::string moving = Describe(moving_);
      if (moving != described_[static_cast<std::size_t>(target)]) {
        return "at step " + std::to_string(target) + " after move " + std::to_string(move) +
               ":\n--- straight\n" + described_[static_cast<std::size_t>(target)] + "--- moving\n" +
               moving;
      }
    }
    return "";
  }

 private:
  struct Side {
    Side() { log.Attach(nullptr); }
    OutputLog log;
    ModuleLibrary library{log};
    Simulation simulation{library};
  };

  static void Step(Simulation& simulation) {
    StepActivity activity = 0;
    try {
      simulation.Step(activity);
    } catch (const SimulationCondition&) {
    } catch (const MessageError&) {
    }
  }

  static std::string Describe(const Side& run) {
    std::string text = DescribeRun(
        run.library, run.simulation, run.simulation.Schedule(),
        [&run](const RuntimeInstance& node) { return EngineNodeState(run.simulation, node); });
    text += "changed";
    for (std::size_t k = 0; k < run.simulation.ChangedSinkCount(); ++k) {
      const SinkOfNode sink = run.simulation.ChangedSink(k);
      text += " " + PathOf(sink.node) + "/sink" + std::to_string(sink.sinkId);
    }
    return text + "\n";
  }

  // Extends the straight run to `step`; false once its tree is too large to compare.
  bool Reach(std::int64_t step) {
    while (static_cast<std::int64_t>(described_.size()) <= step) {
      Step(straight_.simulation);
      std::size_t nodes = 0;
      straight_.library.ForEachNode([&nodes](RuntimeInstance&) { ++nodes; });
      if (nodes > EngineComparison::kMaxNodes)
        return false;
      described_.push_back(Describe(straight_));
    }
    return true;
  }

  // Forward by steps; back from the latest checkpoint at or before `target`, replaying the
  // steps after it. Checkpoints are taken at random steps, each beside the one before it.
  template <typename Choices>
  void GoTo(std::int64_t target, Choices& choices) {
    if (target < present_) {
      auto from = std::prev(checkpoints_.upper_bound(target));
      checkpoints_.erase(std::next(from), checkpoints_.end());
      moving_.simulation.RestoreCheckpoint(from->second);
      present_ = from->first;
    }
    while (present_ < target) {
      Step(moving_.simulation);
      ++present_;
      if (choices.Pick(0, 2) == 0) {
        const EngineCheckpoint& previous = checkpoints_.rbegin()->second;
        checkpoints_.emplace(present_, moving_.simulation.TakeCheckpoint(&previous));
      }
    }
  }

  Side straight_;
  Side moving_;
  std::vector<std::string> described_;  // the straight run after each step
  std::map<std::int64_t, EngineCheckpoint> checkpoints_;
  std::int64_t present_ = 0;
};

}  // namespace pelkor::testing
