// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/run_timeline.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace pelkor {

namespace {

// Copying this much of the state per step is what a moment may cost: a larger state is kept
// at fewer steps.
constexpr std::size_t kCopyBytesPerStep = std::size_t{64} << 10;
// However small the state, a moment at most every this many steps: replaying them costs little,
// and copying at every step would cost a small design's run more than its steps.
constexpr std::int64_t kLeastBase = 16;

}  // namespace

void RunTimeline::Start(RunMoment atCheck) {
  Clear();
  const std::size_t bytes = atCheck.engine.Bytes();
  base_ = std::max(kLeastBase, static_cast<std::int64_t>(std::bit_ceil(bytes / kCopyBytesPerStep)));
  grid_ = base_;
  perSpacing_ = kMomentsPerSpacing;
  besidePages_ = BytesBesidePages(atCheck);
  moments_.emplace(0, std::move(atCheck));
  keptAfterThinning_ = 1;
}

void RunTimeline::Clear() {
  moments_.clear();
  besidePages_ = 0;
  replacements_.clear();
  keptAfterThinning_ = 0;
}

std::int64_t RunTimeline::Spacing(std::int64_t distance) const {
  const std::int64_t window = base_ * perSpacing_;
  const int level = std::bit_width(static_cast<std::uint64_t>(distance / window + 1)) - 1;
  if (level >= 40 || (base_ << level) >= grid_)
    return grid_;
  return base_ << level;
}

bool RunTimeline::Wants(std::int64_t step, std::int64_t present) const {
  if (step == 0)
    return true;
  return step % base_ == 0 && step % Spacing(present - step) == 0;
}

std::size_t RunTimeline::BytesBesidePages(const RunMoment& moment) {
  return sizeof(RunMoment) + moment.engine.BytesBesidePages() +
         moment.historySeen.capacity() * sizeof(std::size_t);
}

void RunTimeline::Erase(std::map<std::int64_t, RunMoment>::iterator at) {
  besidePages_ -= BytesBesidePages(at->second);
  moments_.erase(at);
}

void RunTimeline::Keep(std::int64_t step, RunMoment moment, std::int64_t present) {
  if (const auto old = moments_.find(step); old != moments_.end())
    Erase(old);
  besidePages_ += BytesBesidePages(moment);
  moments_.emplace(step, std::move(moment));
  if (moments_.size() > 2 * keptAfterThinning_ + 16 || moments_.size() > kMaxMoments ||
      Bytes() > budget_) {
    Thin(present);
  }
}

// Drops the moments the spacing no longer wants, widening the grid and the spacings near the
// present while they hold too much;
// should even the widest leave too much, moments go where they lie closest. The first and the
// latest stay.
void RunTimeline::Thin(std::int64_t present) {
  const std::int64_t latest = moments_.rbegin()->first;
  const auto dropUnwanted = [&] {
    for (auto it = moments_.begin(); it != moments_.end();) {
      const auto next = std::next(it);
      if (it->first != latest && !Wants(it->first, present))
        Erase(it);
      it = next;
    }
  };
  dropUnwanted();
  const auto tooMuch = [this] { return moments_.size() > kMaxMoments || Bytes() > budget_; };
  // A grid with fewer than four moments in the run so far would leave the past with gaps as
  // wide as the run: the closest moments go instead.
  while (tooMuch() && (4 * grid_ < present || perSpacing_ > 1)) {
    if (4 * grid_ < present)
      grid_ *= 2;
    dropUnwanted();
    if (tooMuch() && perSpacing_ > 1) {
      perSpacing_ /= 2;
      dropUnwanted();
    }
  }
  // The moment whose neighbours lie closest together goes, keeping the rest evenly apart.
  while (tooMuch() && moments_.size() > 2) {
    auto closest = std::next(moments_.begin());
    std::int64_t narrowest = INT64_MAX;
    for (auto it = std::next(moments_.begin()); std::next(it) != moments_.end(); ++it) {
      if (const std::int64_t gap = std::next(it)->first - std::prev(it)->first; gap < narrowest) {
        narrowest = gap;
        closest = it;
      }
    }
    Erase(closest);
  }
  keptAfterThinning_ = moments_.size();
}

std::pair<std::int64_t, const RunMoment*> RunTimeline::AtOrBefore(std::int64_t step) const {
  auto it = moments_.upper_bound(step);
  if (it == moments_.begin())
    return {0, nullptr};
  --it;
  return {it->first, &it->second};
}

const RunMoment* RunTimeline::Latest() const {
  return moments_.empty() ? nullptr : &moments_.rbegin()->second;
}

void RunTimeline::ForgetAfter(std::int64_t step) {
  while (!moments_.empty() && moments_.rbegin()->first > step)
    Erase(std::prev(moments_.end()));
  keptAfterThinning_ = std::min(keptAfterThinning_, moments_.size());
}

std::vector<std::int64_t> RunTimeline::Steps() const {
  std::vector<std::int64_t> steps;
  for (const auto& [step, moment] : moments_)
    steps.push_back(step);
  return steps;
}

std::size_t RunTimeline::Bytes() const {
  if (moments_.empty())
    return 0;
  return moments_.begin()->second.engine.SharedPageBytes() + besidePages_;
}

void RunTimeline::NoteReplacement(SourceReplacement replacement) {
  const std::int64_t step = replacement.step;
  std::erase_if(replacements_,
                [step](const SourceReplacement& noted) { return noted.step > step; });
  replacements_.push_back(std::move(replacement));
}

std::vector<const SourceReplacement*> RunTimeline::ReplacementsAt(std::int64_t step) const {
  std::vector<const SourceReplacement*> at;
  for (const SourceReplacement& replacement : replacements_) {
    if (replacement.step == step)
      at.push_back(&replacement);
  }
  return at;
}

}  // namespace pelkor
