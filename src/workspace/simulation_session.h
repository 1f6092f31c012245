// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>

#include "edit/tool.h"
#include "model/module_library.h"
#include "model/output_log.h"
#include "sim/simulation.h"
#include "sim/step.h"
#include "workspace/breakpoint_list.h"
#include "workspace/breakpoint_watch.h"
#include "workspace/change_sink.h"
#include "workspace/run_timeline.h"
#include "workspace/simulation_control.h"
#include "workspace/stop_reasons.h"
#include "workspace/waveform/signal_history.h"
#include "workspace/waveform/sink_watch.h"
#include "workspace/workspace_ui.h"

namespace pelkor {

// A simulation of the design: the check, the engine and its run-time state, single steps, the
// animated run on the timer, the run without animation, pause and the end, with the waveforms
// and verdicts recorded around the steps. A command that does not apply (a step with nothing
// checked) does nothing.
class SimulationSession {
 public:
  SimulationSession(ModuleLibrary& library, OutputLog& log, WorkspaceUi& ui, ChangeSink& changes);
  SimulationSession(const SimulationSession&) = delete;
  SimulationSession& operator=(const SimulationSession&) = delete;

  // From a successful check to the end of the simulation. The flag itself is what the editing
  // tools look at.
  bool IsSimulating() const { return simulating_; }
  const bool& simulatingFlag() const { return simulating_; }
  // The run-time state of the nodes.
  const Simulation& simulation() const { return simulation_; }
  bool IsPaused() const { return paused_; }
  bool IsTimerRunning() const { return timerRunning_; }
  StepActivity stepActivity() const { return stepActivity_; }
  // Tool::kAnimatedRun or Tool::kRunWithoutAnimation while such a run goes on, else kNone.
  Tool runMode() const { return runMode_; }

  int timerInterval() const { return timerInterval_; }
  void SetTimerInterval(int milliseconds) { timerInterval_ = milliseconds; }
  std::int64_t stepLimit() const { return stepLimit_; }
  void SetStepLimit(std::int64_t steps) { stepLimit_ = steps; }
  // The clock of the elapsed-time report; the steady clock unless set.
  void SetClock(MillisecondClock clock) { clock_ = std::move(clock); }
  // Whether the simulation records waveforms; on unless a caller needs no history.
  void SetRecordHistory(bool record) { recordHistory_ = record; }
  // Whether a run pauses after a step in which a sink took a value it does not expect.
  bool stopAtMismatch() const { return stopAtMismatch_; }
  void SetStopAtMismatch(bool stop) { stopAtMismatch_ = stop; }

  void Check();
  // False when there is no simulation or the step failed (its message is written).
  bool Step();
  void Run();  // the animated run: starts the timer, whose every period calls Tick
  void Tick();
  // Steps until two steps in a row move nothing, the step limit is reached, `progress` asks to
  // stop or a step fails. The log gets the start, the end and the elapsed time.
  RunOutcome RunWithoutAnimation(const RunProgress& progress = {});
  void Pause();
  // Ends the simulation; false when none ran.
  bool End();
  // "停止理由": writes why each object that holds or waits for tokens cannot move, one log line
  // each, or that none is blocked (stop_commands.cpp).
  void ExplainStop();
  // The objects found blocked when the last run ended idle or ExplainStop last ran, kept for
  // the view to outline until the next step, check or end.
  const std::vector<StopReason>& stopReasons() const { return stopReasons_; }

  // The waveforms and verdicts. The history holds the node shown at the check and the nodes
  // added since, from the check on, and stays after the simulation ends.
  const SignalHistory& history() const { return history_; }
  // Adds the rows of the tree node `item`; false when it has no run-time state or its rows are
  // there already.
  bool WatchTreeItem(TreeItem item);
  // Writes the history as a Value Change Dump; false when the file cannot be written, which
  // the log then says.
  bool SaveWaveforms(const std::filesystem::path& path);

  // The breakpoints (breakpoint_commands.cpp). A run pauses after the first step that meets an
  // enabled one, and shows its node.
  const BreakpointList& breakpoints() const { return breakpoints_; }
  void SetBreakpoints(BreakpointList breakpoints);
  // The breakpoint that paused the last step, if one did.
  const std::optional<BreakpointHit>& breakpointHit() const { return breakpointHit_; }

  // Replaces what a source of a running node has left to emit (Simulation::ReplaceSourceValues);
  // false, and nothing changed, when nothing runs or the simulation refuses the values.
  bool ReplaceSourceValues(const RuntimeInstance& node, int sourceId,
                           std::vector<std::uint8_t> values);

  // Going back (stepping_back.cpp). The step the run stands at: 0 after the check.
  std::int64_t step() const { return stepsSinceCheck_; }
  // Whether the run can go back: it is simulating past step 0 and no run goes on.
  bool CanGoBack() const;
  // Moves the whole simulation to the end of step `step`: back from the nearest moment kept,
  // replaying the steps after it quietly, or forward by steps. The waveforms and verdicts
  // after it are dropped, and recorded again as the run comes forward. False when nothing
  // simulates, a run goes on, or a step on the way forward failed.
  bool GoToStep(std::int64_t step);
  bool StepBack() { return CanGoBack() && GoToStep(stepsSinceCheck_ - 1); }
  bool Rewind() { return CanGoBack() && GoToStep(0); }
  const RunTimeline& timeline() const { return timeline_; }
  void SetRewindBudget(std::size_t bytes) { timeline_.SetBudget(bytes); }

 private:
  // One step with the Step command's handling of failures, recorded; false when the step
  // failed or the run stopped at a mismatch.
  bool RunOneStep();
  bool StepWithFailures();
  StepHooks SimulationHooks();
  void StopAnimationTimer();
  void WriteRunEnd();
  // Finds the blocked objects and writes a log line for each.
  void WriteStopReasons();
  // The waveform and verdict bookkeeping around the steps (waveform_commands.cpp).
  void StartRecording();
  // After each step; false when the run stopped at a sink's mismatch.
  bool RecordStep();
  std::int64_t Now() const;
  // The moments to go back to, around the steps (stepping_back.cpp).
  RunMoment Moment() const;
  void StartTimeline();
  void KeepMoment();
  void ApplyReplacements();
  // Before each step: the watch follows the list and the tree, and notes the state.
  void WatchBreakpoints();
  // After each step; false when the run paused at a breakpoint.
  bool CheckBreakpoints();

  ModuleLibrary& library_;
  OutputLog& log_;
  WorkspaceUi& ui_;
  ChangeSink& changes_;
  Simulation simulation_{library_};
  std::int64_t startTicks_ = 0;
  StepActivity stepActivity_ = 0;
  int timerInterval_ = 50;
  bool treeOpenedByCheck_ = false;
  bool simulating_ = false;
  bool paused_ = false;
  bool timerRunning_ = false;
  Tool runMode_ = Tool::kNone;
  bool creationFailed_ = false;  // set by the step in progress
  std::int64_t stepLimit_ = 1'000'000;
  std::int64_t stepsSinceCheck_ = 0;
  bool recordHistory_ = true;
  bool stopAtMismatch_ = false;
  bool stoppedAtMismatch_ = false;  // set by the step in progress
  SignalHistory history_;
  BreakpointList breakpoints_;
  BreakpointWatch breakpointWatch_;
  bool breakpointsChanged_ = true;  // the list or the tree changed since the watch was armed
  std::optional<BreakpointHit> breakpointHit_;  // set by the step in progress
  SinkWatch sinkWatch_;
  RunTimeline timeline_;
  std::int64_t replayingTo_ = 0;  // the step a replay goes to, while it runs
  std::vector<StopReason> stopReasons_;
  MillisecondClock clock_;
};

}  // namespace pelkor
