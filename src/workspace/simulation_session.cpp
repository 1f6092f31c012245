// SPDX-License-Identifier: GPL-3.0-or-later
// Simulation control: check, step, the animated run and its timer ticks, the run without
// animation, pause and the end of the simulation.
#include <chrono>
#include <new>

#include "base/errors.h"
#include "sim/simulation_condition.h"
#include "workspace/simulation_session.h"
#include "workspace/waveform/live_nodes.h"

namespace pelkor {

SimulationSession::SimulationSession(ModuleLibrary& library, OutputLog& log, WorkspaceUi& ui,
                                     ChangeSink& changes)
    : library_(library), log_(log), ui_(ui), changes_(changes) {}

std::int64_t SimulationSession::Now() const {
  if (clock_)
    return clock_();
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

void SimulationSession::StopAnimationTimer() {
  timerRunning_ = false;
  ui_.StopTimer();
  changes_.Changed(Change::kSimulation);
}

void SimulationSession::WriteRunEnd() {
  log_.WriteText("シミュレーションを終了します");
  log_.Write("シミュレーション時間は%f秒", static_cast<double>(Now() - startTicks_) / 1000.0);
  if (const std::string summary = VerdictSummary(simulation_, library_.rootInstance());
      !summary.empty())
    log_.WriteText(summary);
}

StepHooks SimulationSession::SimulationHooks() {
  StepHooks hooks;
  hooks.instanceDeleting = [this](RuntimeInstance&) { changes_.Changed(Change::kView); };
  hooks.treeChanged = [this] {
    breakpointsChanged_ = true;
    changes_.Changed(Change::kTree | Change::kView);
  };
  hooks.creationFailed = [this] { creationFailed_ = true; };
  return hooks;
}

void SimulationSession::Check() {
  if (simulating_)
    return;
  simulating_ = true;
  stopReasons_.clear();
  ui_.SetWaitCursor(true);
  CheckOutcome outcome;
  try {
    outcome = simulation_.Check();
  } catch (...) {
    log_.WriteText("エラーが発生しました");
    outcome.failingNode = &library_.rootInstance();
  }
  // Preparing the nodes failed: what was prepared is checked, and the run starts paused.
  if (outcome.prepareFailed)
    paused_ = true;
  if (outcome.failingNode != nullptr) {
    End();
    ui_.SetWaitCursor(false);
    return;
  }
  try {
    library_.GoToTreeItem(library_.rootInstance().treeItem);
  } catch (const MessageError& e) {  // a root without a registered module
    log_.WriteText(e.what());
  }
  changes_.Changed(Change::kSimulation | Change::kTree | Change::kSelection);
  stepActivity_ = 0;
  log_.WriteText("チェック完了");
  StartRecording();
  StartTimeline();
  ui_.SetWaitCursor(false);
  changes_.Changed(Change::kView);
  treeOpenedByCheck_ = !ui_.IsModuleTreeOpen();
  if (treeOpenedByCheck_)
    ui_.OpenModuleTree();
}

bool SimulationSession::RunOneStep() {
  WatchBreakpoints();
  const bool completed = StepWithFailures();
  const bool recorded = RecordStep();
  KeepMoment();
  ApplyReplacements();
  return recorded && completed && CheckBreakpoints();
}

bool SimulationSession::StepWithFailures() {
  stepActivity_ = 0;
  stopReasons_.clear();
  creationFailed_ = false;
  try {
    simulation_.Step(stepActivity_, SimulationHooks());
  } catch (const SimulationCondition& condition) {
    const char* message = ConditionMessage(condition.code());
    if (message == nullptr)
      return false;  // no message of its own: the run goes on
    log_.WriteText(message);
    Pause();
    return false;
  } catch (const MessageError& e) {
    log_.WriteText(e.what());
    Pause();
    return false;
  } catch (...) {
    log_.WriteText("エラーが発生しました");
    Pause();
    return false;
  }
  // A "new" that could not build its instance has written why; the run stops there too.
  if (creationFailed_) {
    Pause();
    return false;
  }
  return true;
}

bool SimulationSession::Step() {
  if (!simulating_)
    return false;
  const bool completed = RunOneStep();
  changes_.Changed(Change::kSimulation);
  return completed;
}

void SimulationSession::Run() {
  if (!simulating_)
    return;
  paused_ = false;
  runMode_ = Tool::kAnimatedRun;
  startTicks_ = Now();
  timerRunning_ = true;
  ui_.StartTimer(timerInterval_);
  log_.WriteText("シミュレーションを開始します");
  changes_.Changed(Change::kSimulation);
}

// After a step that moved something, the run ends when the next two steps move nothing. A
// failed step ends the tick's steps, and the paused simulation then stops the timer.
void SimulationSession::Tick() {
  if (!simulating_ || !timerRunning_)
    return;
  if (stepActivity_ == 1) {
    if (RunOneStep() && stepActivity_ == 0 && RunOneStep() && stepActivity_ == 0) {
      StopAnimationTimer();
      WriteStopReasons();
      WriteRunEnd();
    }
  } else {
    RunOneStep();
  }
  if (paused_ && timerRunning_)
    StopAnimationTimer();
  changes_.Changed(Change::kSimulation);
}

RunOutcome SimulationSession::RunWithoutAnimation(const RunProgress& progress) {
  RunOutcome outcome;
  if (!simulating_)
    return outcome;
  log_.WriteText("シミュレーションを開始します");
  runMode_ = Tool::kRunWithoutAnimation;
  startTicks_ = Now();
  int idleSteps = 0;
  for (;;) {
    if (outcome.steps >= stepLimit_) {
      log_.Write("ステップ数が上限（%d）に達しました", stepLimit_);
      outcome.end = RunEnd::kStepLimit;
      break;
    }
    const bool completed = RunOneStep();
    ++outcome.steps;
    const bool goOn = !progress || progress(outcome.steps, stepActivity_);
    idleSteps = stepActivity_ == 0 ? idleSteps + 1 : 0;
    if (!completed) {
      outcome.end = stoppedAtMismatch_ ? RunEnd::kMismatch
                    : breakpointHit_   ? RunEnd::kBreakpoint
                                       : RunEnd::kFailed;
      break;
    }
    if (idleSteps == 2) {
      outcome.end = RunEnd::kIdle;
      break;
    }
    if (!goOn) {
      Pause();
      outcome.end = RunEnd::kCancelled;
      break;
    }
  }
  // The verdicts' summary stays the line that ends the run.
  if (outcome.end == RunEnd::kIdle)
    WriteStopReasons();
  WriteRunEnd();
  changes_.Changed(Change::kSimulation);
  return outcome;
}

void SimulationSession::Pause() {
  if (!simulating_)
    return;
  paused_ = true;
  runMode_ = Tool::kNone;
  log_.WriteText("一時停止");
  changes_.Changed(Change::kSimulation);
}

bool SimulationSession::End() {
  if (!simulating_)
    return false;
  log_.WriteText("シミュレーション停止");
  stopReasons_.clear();
  simulation_.End();
  timeline_.Clear();
  breakpointWatch_.Disarm(simulation_);
  breakpointsChanged_ = true;
  breakpointHit_.reset();
  if (timerRunning_)
    StopAnimationTimer();
  runMode_ = Tool::kNone;
  paused_ = false;
  simulating_ = false;
  changes_.Changed(Change::kSimulation | Change::kTree | Change::kView);
  if (treeOpenedByCheck_)
    ui_.CloseModuleTree();
  treeOpenedByCheck_ = false;
  return true;
}

bool SimulationSession::ReplaceSourceValues(const RuntimeInstance& node, int sourceId,
                                            std::vector<std::uint8_t> values) {
  SourceReplacement replacement{stepsSinceCheck_, NodePath(node), sourceId, values};
  if (!simulating_ || !simulation_.ReplaceSourceValues(node, sourceId, std::move(values)))
    return false;
  timeline_.NoteReplacement(std::move(replacement));
  changes_.Changed(Change::kSimulation);
  return true;
}

}  // namespace pelkor
