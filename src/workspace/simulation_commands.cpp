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
  hooks.treeChanged = [this] {
    ui_.ModuleTreeChanged();
    ui_.CurrentNodeChanged(library_.currentInstance().treeItem);
  };
  hooks.creationFailed = [this] { creationFailed_ = true; };
  return hooks;
}

void Workspace::Check() {
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
  // Preparing the nodes failed: what was prepared is checked, and the run starts paused.
  if (outcome.prepareFailed)
    paused_ = true;
  if (outcome.failingNode != nullptr) {
    EndSimulation();
    ui_.SetWaitCursor(false);
    return;
  }
  try {
    library_.GoToTreeItem(library_.rootInstance().treeItem);
  } catch (const MessageError& e) {  // a root without a registered module
    log_.WriteText(e.what());
  }
  ui_.ModuleTreeChanged();
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

void Workspace::Step() {
  if (!simulating_)
    return;
  RunOneStep();
  ui_.Redraw();
}

void Workspace::Run() {
  if (!simulating_)
    return;
  paused_ = false;
  interaction_.tool = Tool::kAnimatedRun;
  startTicks_ = Now();
  timerRunning_ = true;
  ui_.StartTimer(timerInterval_);
  log_.WriteText("シミュレーションを開始します");
}

// After a step that moved something, the run ends when the next two steps move nothing. A
// failed step ends the tick's steps, and the paused simulation then stops the timer.
void Workspace::Tick() {
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
  ui_.Redraw();
}

RunOutcome Workspace::RunWithoutAnimation(const RunProgress& progress) {
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
  ui_.Redraw();
  return outcome;
}

void Workspace::Pause() {
  if (!simulating_)
    return;
  paused_ = true;
  interaction_.tool = Tool::kNone;
  log_.WriteText("一時停止");
}

void Workspace::EndSimulation() {
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
  ui_.ModuleTreeChanged();
  SetTitle(library_.rootInstance().name);
  if (treeOpenedByCheck_)
    ui_.CloseModuleTree();
  treeOpenedByCheck_ = false;
  ShowCurrentNode();
}

CommandState Workspace::QueryCommand(CommandId command) const {
  if (const std::optional<Tool> tool = ToolOfCommand(command))
    return {!simulating_, interaction_.tool == *tool};
  switch (command) {
    case CommandId::kCheck:
      return {!simulating_, simulating_};
    case CommandId::kStep:
    case CommandId::kStop:
    case CommandId::kPause:
      return {simulating_, false};
    case CommandId::kRun:
      return {simulating_, interaction_.tool == Tool::kAnimatedRun};
    case CommandId::kRunWithoutAnimation:
      return {simulating_, interaction_.tool == Tool::kRunWithoutAnimation};
    // The file, settings and clipboard commands change the design, which the simulation's
    // working copies stand for until it ends.
    case CommandId::kNew:
    case CommandId::kOpen:
    case CommandId::kSave:
    case CommandId::kSaveAs:
    case CommandId::kSaveAll:
    case CommandId::kLoadModuleFile:
    case CommandId::kLoadModule:
    case CommandId::kSettings:
    case CommandId::kCut:
    case CommandId::kCopy:
    case CommandId::kPaste:
    case CommandId::kUndo:
    case CommandId::kDelete:
    case CommandId::kAlign:
      return {!simulating_, false};
    case CommandId::kRedo:
      return {!simulating_ && library_.currentModule().CanRedo(), false};
    case CommandId::kUpperModule:
      return {library_.currentInstance().parent != nullptr, false};
    case CommandId::kShowObjectIds:
      return {true, view_.showObjectIds};
    case CommandId::kShowSinkVerdicts:
      return {true, view_.showSinkVerdicts};
    case CommandId::kStopAtMismatch:
      return {true, stopAtMismatch_};
    case CommandId::kRecentFile:
      return {false, false};
    default:  // the commands of the windows themselves
      return {true, false};
  }
}

}  // namespace pelkor
