// SPDX-License-Identifier: GPL-3.0-or-later
// Simulation control: check, step, the animated run and its timer ticks, the run without
// animation, pause and the end of the simulation, and the command states that follow them.
#include <chrono>
#include <new>

#include "base/errors.h"
#include "sim/simulation_condition.h"
#include "workspace/workspace.h"

namespace pelkor {

std::int64_t Workspace::Now() const {
  if (clock_)
    return clock_();
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

void Workspace::DropSelection() {
  controller_.DropToolState();
}

void Workspace::StopAnimationTimer() {
  timerRunning_ = false;
  ui_.StopTimer();
  Changed(Change::kSimulation);
}

void Workspace::WriteRunEnd() {
  log_.WriteText("シミュレーションを終了します");
  log_.Write("シミュレーション時間は%f秒", static_cast<double>(Now() - startTicks_) / 1000.0);
  if (const std::string summary = VerdictSummary(simulation_, library_.rootInstance());
      !summary.empty())
    log_.WriteText(summary);
}

StepHooks Workspace::SimulationHooks() {
  StepHooks hooks;
  hooks.instanceDeleting = [this](RuntimeInstance&) { ShowCurrentNode(); };
  hooks.treeChanged = [this] { Changed(Change::kTree | Change::kView); };
  hooks.creationFailed = [this] { creationFailed_ = true; };
  return hooks;
}

void Workspace::Check() {
  const CommandScope scope(*this);
  if (simulating_)
    return;
  interaction_.tool = Tool::kNone;
  DropSelection();
  simulating_ = true;
  ui_.SetWaitCursor(true);
  CheckOutcome outcome;
  try {
    outcome = simulation_.Check();
  } catch (...) {
    log_.WriteText("エラーが発生しました");
    outcome.failingNode = &library_.rootInstance();
  }
  // Making the working copies failed: what was made is checked, and the run starts paused.
  if (outcome.prepareFailed)
    paused_ = true;
  if (outcome.failingNode != nullptr) {
    EndSimulation();
    ui_.SetWaitCursor(false);
    return;
  }
  try {
    library_.GoToTreeItem(library_.rootInstance().treeItem, true);
  } catch (const MessageError& e) {  // a root without a net nor a registered module
    log_.WriteText(e.what());
  }
  Changed(Change::kSimulation | Change::kTree | Change::kSelection);
  stepActivity_ = 0;
  log_.WriteText("チェック完了");
  StartRecording();
  ui_.SetWaitCursor(false);
  ShowCurrentNode();
  treeOpenedByCheck_ = !ui_.IsModuleTreeOpen();
  if (treeOpenedByCheck_)
    ui_.OpenModuleTree();
}

bool Workspace::RunOneStep() {
  const bool completed = StepWithFailures();
  return RecordStep() && completed;
}

bool Workspace::StepWithFailures() {
  stepActivity_ = 0;
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

bool Workspace::Step() {
  const CommandScope scope(*this);
  if (!simulating_)
    return false;
  const bool completed = RunOneStep();
  PublishReceived();
  Changed(Change::kSimulation);
  return completed;
}

void Workspace::Run() {
  const CommandScope scope(*this);
  if (!simulating_)
    return;
  paused_ = false;
  interaction_.tool = Tool::kAnimatedRun;
  startTicks_ = Now();
  timerRunning_ = true;
  ui_.StartTimer(timerInterval_);
  log_.WriteText("シミュレーションを開始します");
  Changed(Change::kSimulation);
}

// After a step that moved something, the run ends when the next two steps move nothing. A
// failed step ends the tick's steps, and the paused simulation then stops the timer.
void Workspace::Tick() {
  const CommandScope scope(*this);
  if (!simulating_ || !timerRunning_)
    return;
  if (stepActivity_ == 1) {
    if (RunOneStep() && stepActivity_ == 0 && RunOneStep() && stepActivity_ == 0) {
      StopAnimationTimer();
      WriteRunEnd();
    }
  } else {
    RunOneStep();
  }
  if (paused_ && timerRunning_)
    StopAnimationTimer();
  PublishReceived();
  Changed(Change::kSimulation);
  // A tick may come while a modal dialog holds a command open: the view follows the run all
  // the same.
  FlushChanges();
}

RunOutcome Workspace::RunWithoutAnimation(const RunProgress& progress) {
  const CommandScope scope(*this);
  RunOutcome outcome;
  if (!simulating_)
    return outcome;
  log_.WriteText("シミュレーションを開始します");
  interaction_.tool = Tool::kRunWithoutAnimation;
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
      outcome.end = stoppedAtMismatch_ ? RunEnd::kMismatch : RunEnd::kFailed;
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
  WriteRunEnd();
  PublishReceived();
  Changed(Change::kSimulation);
  return outcome;
}

void Workspace::Pause() {
  const CommandScope scope(*this);
  if (!simulating_)
    return;
  paused_ = true;
  interaction_.tool = Tool::kNone;
  log_.WriteText("一時停止");
  Changed(Change::kSimulation);
}

void Workspace::EndSimulation() {
  const CommandScope scope(*this);
  if (!simulating_)
    return;
  log_.WriteText("シミュレーション停止");
  simulation_.End();
  if (timerRunning_)
    StopAnimationTimer();
  interaction_.tool = Tool::kNone;
  DropSelection();
  paused_ = false;
  simulating_ = false;
  Changed(Change::kSimulation | Change::kTree | Change::kSelection);
  SetTitle(library_.rootInstance().name);
  if (treeOpenedByCheck_)
    ui_.CloseModuleTree();
  treeOpenedByCheck_ = false;
  ShowCurrentNode();
}

}  // namespace pelkor
