// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sim/engine_checkpoint.h"
#include "sim/token.h"
#include "workspace/waveform/sink_watch.h"

namespace pelkor {

// What the session keeps of the end of one step to go back to it.
struct RunMoment {
  EngineCheckpoint engine;
  std::vector<std::size_t> historySeen;  // SignalHistory::seen()
  SinkWatch verdicts;
  StepActivity activity = 0;
};

// A script's new values for a source, kept with the step after which it gave them, so that a
// run that goes back before that step and comes forward again gets them at the same point.
struct SourceReplacement {
  std::int64_t step = 0;
  std::string path;  // the node, as NodePath writes it
  int sourceId = 0;
  std::vector<std::uint8_t> values;
};

// The moments of a run that it can go back to, from the check (step 0, always kept) to the
// present. Near the present they lie every `base` steps, further back twice, four times ...
// as far apart, up to the spacing of the grid that covers the rest of the past evenly; the grid
// spacing doubles, and the stretch near the present at each spacing halves, whenever the
// moments would hold more than the memory budget. `base` grows with the size of the state, so
// that copying it costs a step little.
class RunTimeline {
 public:
  static constexpr std::size_t kDefaultBudget = std::size_t{256} << 20;
  // At most this many moments, however small.
  static constexpr std::size_t kMaxMoments = 1024;

  void SetBudget(std::size_t bytes) { budget_ = bytes; }
  std::size_t budget() const { return budget_; }

  // Forgets every moment and keeps the one after the check.
  void Start(RunMoment atCheck);
  void Clear();

  // Whether the moment after step `step` should be kept while the run goes to `present`.
  bool Wants(std::int64_t step, std::int64_t present) const;
  // Keeps the moment after `step`, the latest so far, and drops those no longer wanted for
  // `present`.
  void Keep(std::int64_t step, RunMoment moment, std::int64_t present);
  // The latest moment at or before `step`, and its step; nullptr before Start.
  std::pair<std::int64_t, const RunMoment*> AtOrBefore(std::int64_t step) const;
  const RunMoment* Latest() const;
  // Forgets the moments after `step`.
  void ForgetAfter(std::int64_t step);

  std::size_t size() const { return moments_.size(); }
  std::vector<std::int64_t> Steps() const;
  // The memory the moments hold, pages shared between them counted once.
  std::size_t Bytes() const;
  std::int64_t base() const { return base_; }

  // A script replaced a source's values after step `step`: the replacements noted after that
  // step belong to a future that changes, and go.
  void NoteReplacement(SourceReplacement replacement);
  // The replacements made after step `step`, in the order they were made.
  std::vector<const SourceReplacement*> ReplacementsAt(std::int64_t step) const;

 private:
  std::int64_t Spacing(std::int64_t distance) const;
  static std::size_t BytesBesidePages(const RunMoment& moment);
  void Erase(std::map<std::int64_t, RunMoment>::iterator at);
  void Thin(std::int64_t present);

  std::size_t budget_ = kDefaultBudget;
  std::int64_t base_ = 1;
  std::int64_t grid_ = 1;
  // Near the present, this many moments at each spacing before it doubles.
  static constexpr std::int64_t kMomentsPerSpacing = 4;
  std::int64_t perSpacing_ = kMomentsPerSpacing;
  std::size_t keptAfterThinning_ = 0;
  std::size_t besidePages_ = 0;  // what the moments hold beside their engine's pages
  std::map<std::int64_t, RunMoment> moments_;
  std::vector<SourceReplacement> replacements_;  // ascending step
};

}  // namespace pelkor
