// SPDX-License-Identifier: GPL-3.0-or-later
// Going back in a simulation: the moments kept after the steps, and the way back to any step
// through the nearest of them.
#include <algorithm>

#include "workspace/simulation_session.h"
#include "workspace/waveform/live_nodes.h"

namespace pelkor {

namespace {

// The log says nothing while steps already told of run again.
class QuietLog {
 public:
  explicit QuietLog(OutputLog& log) : log_(log), sink_(log.sink()) { log_.Attach(nullptr); }
  ~QuietLog() { log_.Attach(sink_); }
  QuietLog(const QuietLog&) = delete;
  QuietLog& operator=(const QuietLog&) = delete;

 private:
  OutputLog& log_;
  LogSink* sink_;
};

}  // namespace

RunMoment SimulationSession::Moment() const {
  const RunMoment* latest = timeline_.Latest();
  return {simulation_.TakeCheckpoint(latest != nullptr ? &latest->engine : nullptr),
          history_.seen(), sinkWatch_, stepActivity_};
}

void SimulationSession::StartTimeline() {
  timeline_.Clear();
  timeline_.Start(Moment());
}

// After every step, also those replayed: `replayingTo_` is where the present will be.
void SimulationSession::KeepMoment() {
  const std::int64_t present = std::max(stepsSinceCheck_, replayingTo_);
  if (timeline_.Wants(stepsSinceCheck_, present))
    timeline_.Keep(stepsSinceCheck_, Moment(), present);
}

// What a script replaced after the step the run now stands at.
void SimulationSession::ApplyReplacements() {
  for (const SourceReplacement* replacement : timeline_.ReplacementsAt(stepsSinceCheck_)) {
    if (const RuntimeInstance* node = FindNode(library_.rootInstance(), replacement->path))
      simulation_.ReplaceSourceValues(*node, replacement->sourceId, replacement->values);
  }
}

bool SimulationSession::CanGoBack() const {
  return simulating_ && runMode_ == Tool::kNone && !timerRunning_ && stepsSinceCheck_ > 0;
}

bool SimulationSession::GoToStep(std::int64_t target) {
  if (!simulating_ || runMode_ != Tool::kNone || timerRunning_ || target < 0)
    return false;
  if (target >= stepsSinceCheck_) {
    bool completed = true;
    while (completed && stepsSinceCheck_ < target)
      completed = RunOneStep();
    changes_.Changed(Change::kSimulation);
    return completed;
  }
  const auto [at, moment] = timeline_.AtOrBefore(target);
  if (moment == nullptr)
    return false;
  timeline_.ForgetAfter(at);
  {
    const QuietLog quiet(log_);
    simulation_.RestoreCheckpoint(moment->engine);
    breakpointsChanged_ = true;  // the nodes made since are gone: the watch arms afresh
    history_.CutAfter(at, moment->historySeen, simulation_, library_.rootInstance());
    sinkWatch_ = moment->verdicts;
    stepActivity_ = moment->activity;
    stepsSinceCheck_ = at;
    ApplyReplacements();
    // The steps replayed end as they ended before; a failure pauses nothing anew.
    const bool paused = paused_;
    replayingTo_ = target;
    while (stepsSinceCheck_ < target)
      RunOneStep();
    replayingTo_ = 0;
    paused_ = paused;
  }
  changes_.Changed(Change::kSimulation | Change::kTree | Change::kView);
  return true;
}

}  // namespace pelkor
