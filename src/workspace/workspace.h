// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edit/editor_host.h"
#include "files/settings.h"
#include "model/output_log.h"
#include "workspace/breakpoint_store.h"
#include "workspace/change_sink.h"
#include "workspace/crash_recovery.h"
#include "workspace/design_document.h"
#include "workspace/editor_view.h"
#include "workspace/simulation_session.h"
#include "workspace/workspace_ui.h"

namespace pelkor {

namespace testing {
class WorkspaceProbe;
}

// The one object that the desktop application and the command-line tool both drive. It routes
// every command and event to the part it belongs to, and keeps them in step:
// - the design document: the modules, their files and edits;
// - the editor view: zoom, scroll, painting and the editing tools;
// - the simulation session: check, steps, runs, waveforms and verdicts.
// Every failure inside a command ends as a line in the log, never as an exception. Every command
// and event ends with the model invariant check (in builds with assertions) and one Changed
// notification to the user interface saying what it changed.
class Workspace : private EditorHost, private ChangeSink {
 public:
  explicit Workspace(WorkspaceUi& ui);
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  const DesignDocument& document() const { return document_; }
  const EditorView& editor() const { return editor_; }
  const SimulationSession& session() const { return session_; }
  const ModuleLibrary& library() const { return document_.library(); }
  const Simulation& simulation() const { return session_.simulation(); }
  const SignalHistory& history() const { return session_.history(); }
  const ViewState& view() const { return editor_.view(); }
  const InteractionState& interaction() const { return editor_.interaction(); }
  const HitMap& hitMap() const { return editor_.hitMap(); }
  const Settings& settings() const { return settings_; }
  const std::string& documentTitle() const { return document_.title(); }
  // The main window's title: the document title, "*" while the module shown has unsaved
  // changes (simulating or not), a mark while it holds a file read only in part.
  std::string WindowTitle() const;
  const std::filesystem::path& designFolder() const { return document_.folder(); }

  // The output log: where its lines go (nullptr: nowhere), and a line written from outside a
  // command (a note of the desktop's own).
  void AttachLog(LogSink* sink) { log_.Attach(sink); }
  LogSink* logSink() const { return log_.sink(); }
  void WriteLog(const std::string& line) { log_.WriteText(line); }

  // Runs a command of the menus, the toolbar, the keys or the context menus by its id, as the
  // user would; false when the command is disabled or is one of the windows' own (dialogs that
  // only the desktop has, its bars and docks), which the workspace does not run.
  bool Execute(CommandId command);
  // Whether the command is enabled and whether it shows checked, as menus and toolbars need;
  // the windows' own commands are disabled here, and the windows answer for them.
  CommandState Query(CommandId command) const;

  // Settings and limits.
  void SetSettings(const Settings& settings);
  void SetDesignFolder(const std::filesystem::path& folder) { document_.SetFolder(folder); }
  void SetInputLimits(const InputLimits& limits) { document_.SetInputLimits(limits); }
  int timerInterval() const { return session_.timerInterval(); }
  void SetTimerInterval(int milliseconds) { session_.SetTimerInterval(milliseconds); }
  std::int64_t stepLimit() const { return session_.stepLimit(); }
  void SetStepLimit(std::int64_t steps) { session_.SetStepLimit(steps); }
  void SetClock(MillisecondClock clock) { session_.SetClock(std::move(clock)); }
  void SetRecordHistory(bool record) { session_.SetRecordHistory(record); }
  // Off where nothing is undone, to spare a copy of every module.
  void KeepEditHistory(bool keep) { document_.library().KeepEditHistory(keep); }
  bool stopAtMismatch() const { return session_.stopAtMismatch(); }
  void SetStopAtMismatch(bool stop) { session_.SetStopAtMismatch(stop); }

  // Simulation control. A command that Query shows disabled does nothing.
  bool IsSimulating() const { return session_.IsSimulating(); }
  bool IsPaused() const { return session_.IsPaused(); }
  bool IsTimerRunning() const { return session_.IsTimerRunning(); }
  StepActivity stepActivity() const { return session_.stepActivity(); }
  void Check();
  // False when there is no simulation or the step failed (its message is written).
  bool Step();
  void Run();  // the animated run: starts the timer, whose every period calls Tick
  void Tick();
  RunOutcome RunWithoutAnimation(const RunProgress& progress = {});
  void Pause();
  // "停止理由" while simulating and no animated run goes on: a log line for each object that
  // holds or waits for tokens and cannot move, which the view then outlines.
  void ExplainStop();
  void EndSimulation();
  // Back one step, back to step 0, or to any step back or forward (SimulationSession::GoToStep).
  bool StepBack();
  bool Rewind();
  bool GoToStep(std::int64_t step);
  // Adds the rows of the tree node `item` to the waveforms; false when it has no run-time state
  // or its rows are there already.
  bool WatchTreeItem(TreeItem item);
  bool SaveWaveforms(const std::filesystem::path& path) { return session_.SaveWaveforms(path); }
  // What a script changes while a simulation runs. The values a source of a running node has
  // left to emit (Simulation::ReplaceSourceValues); false, and nothing changed, without a
  // simulation or such a source, or for values that are not bits.
  bool ReplaceSourceValues(const RuntimeInstance& node, int sourceId,
                           std::vector<std::uint8_t> values);
  // The text a sink of a module expects, as the sink's dialog sets it, also while simulating;
  // false when the module has no such sink.
  bool SetSinkExpected(const std::string& moduleName, int sinkId, const std::string& expected);

  // Breakpoints (workspace_breakpoints.cpp), kept per design file in the store once
  // EnableBreakpointStore names its folder: loaded as a design opens, saved at each change.
  const BreakpointList& breakpoints() const { return session_.breakpoints(); }
  void EnableBreakpointStore(const std::filesystem::path& folder);
  // Sets a breakpoint with its kind's event on the object selected alone, else on the object
  // pointed at, or removes the one there: for the node shown when it is an instance, else for
  // every node of the module. False when there is no such object or its kind has no event.
  bool ToggleBreakpoint();
  // Replaces every breakpoint (the command line's --break).
  void SetBreakpoints(BreakpointList breakpoints);
  // By index into breakpoints(); false, and nothing changed, when there is no such breakpoint
  // or its object cannot meet the event.
  bool RemoveBreakpoint(std::size_t index);
  bool SetBreakpointEnabled(std::size_t index, bool enabled);
  bool SetBreakpointEvent(std::size_t index, ParsedEvent event);
  // Shows the node of the breakpoint (the first node of its module, for one on every node)
  // with its object selected alone; false when no node runs the module.
  bool GoToBreakpoint(std::size_t index);

  // Design-file commands. New, Open and dropped files first offer to save what changed.
  void New();
  void Open();  // asks for the file
  // The same for a path already chosen; says whether every file of the hierarchy was read.
  OpenResult OpenFile(const std::filesystem::path& path);
  void Save();
  void SaveAs();
  void DropFiles(const std::vector<std::filesystem::path>& paths);
  void SaveAll();
  void LoadModule();
  void LoadIntoInstance(int instanceId);
  bool IsModified(const std::string& moduleName) const { return document_.IsModified(moduleName); }
  std::vector<std::string> ModifiedModules() const { return document_.ModifiedModules(); }
  // Asks what to do with changes when there are any; false when the user cancels or saving
  // them failed, so the caller must not drop the design.
  bool ConfirmDiscardChanges();
  void ExportBsp();
  ExportOutcome ExportBspTo(const std::filesystem::path& path);

  // Crash recovery. From EnableRecovery on, this program keeps a copy of every module with
  // unsaved changes in its own session below `recoveryFolder`, written at each
  // WriteRecoveryCopies (the desktop's timer) and at every check; a copy goes as soon as its
  // module is saved or its change discarded. False, with a log line, when the session cannot
  // be started.
  bool EnableRecovery(const std::filesystem::path& recoveryFolder);
  const CrashRecovery* recovery() const { return recovery_ ? &*recovery_ : nullptr; }
  void WriteRecoveryCopies();
  // Opens the design of a session left behind with its copied modules marked as changed; once
  // this program's session holds copies of them, the old session is deleted.
  void RestoreRecovered(AbandonedSession& session);
  // The program ends cleanly: whatever was not saved was discarded, so no copy stays.
  void EndRecoveryCleanly();

  // Hierarchy moves.
  void EnterInstance(int instanceId);
  void GoUp();
  void GoToTreeItem(TreeItem item);
  // Selects the object a log line names (ObjectOfLogLine; `next` is the line after it) and
  // scrolls it into sight, first moving to the node it is in; false when the line names no
  // object the design has.
  bool ShowLogLineObject(std::string_view line, std::string_view next = {});

  // Edits of the module shown; none runs while simulating. Copy takes the group from the
  // selection's anchor and paste puts it at the last press point, both converted with `view`.
  void DeleteSelection();
  void AlignSelection(int gridSize);
  void Copy(const Viewport& view);
  void Cut(const Viewport& view);
  void Paste(const Viewport& view);
  void Undo();
  void Redo();  // what undo undid, until the design changes again
  bool HasSelection() const { return document_.HasSelection(); }
  bool CanPaste() const { return document_.CanPaste(); }

  // The editor view.
  void ResizeView(int width, int height);
  void ScrollView(ScrollAxis axis, ScrollRequest request, int thumbPosition);
  // The wheel over the view, as the settings' habit has it.
  void TurnWheel(const WheelTurn& turn);
  // Paints the module shown and rebuilds the hit map from the same paint. The view replays the
  // frame's picture, then its overlay, then HoverFrameDrawing.
  // Breakpoints set on objects of the node shown get their marks in the overlay.
  void PaintView(Frame& frame);
  // The whole module shown with its simulation state at a zoom level of the view (0, full
  // detail, unless said), for printing.
  DrawList PictureDrawing(int zoomLevel = 0) const { return editor_.Picture(zoomLevel); }
  DrawList HoverFrameDrawing() const { return editor_.HoverFrame(); }
  std::optional<Rect> SelectionTracker() const { return editor_.SelectionTracker(); }
  // The view's mode: the editing tool, or the run going on.
  Tool mode() const;
  void SetMode(Tool mode) { editor_.SetTool(mode); }

  // The view's events, in client pixels; `ctrl` tells that the Ctrl key is held. A double-click
  // comes in place of its second press. The key codes are those of edit/key_codes.h.
  void MousePress(Point pixel, bool ctrl = false);
  void MouseMove(Point pixel, bool ctrl = false);
  void MouseRelease(Point pixel);
  // `firstPressHeld`: the view held back the double-click's first press (PressCompletesArc).
  void MouseDoubleClick(Point pixel, bool firstPressHeld = false);
  // Whether a press there would complete the arc in progress: the view holds such a press for
  // the double-click interval, since a double-click opens properties and never ends an arc.
  bool PressCompletesArc(Point pixel) const { return editor_.tools().PressCompletesArc(pixel); }
  void RightButtonRelease(Point pixel);
  void MiddleButtonPress(Point pixel);
  void MiddleButtonRelease(Point pixel);
  void KeyDown(int key);
  void KeyUp(int key);
  // An editing-tool command; false for any other command.
  bool ChooseTool(CommandId command);
  // "編集" of the context menu.
  void EditPrimitive();

 private:
  friend class testing::WorkspaceProbe;  // tests build designs and states directly

  // Opened by every entry point: when the outermost one ends, the invariants are checked and
  // the changes noted meanwhile go to the user interface in one notification.
  class CommandScope {
   public:
    explicit CommandScope(Workspace& workspace);
    ~CommandScope();
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

   private:
    Workspace& workspace_;
  };
  // Notes a change; outside any command it is reported at once.
  void Changed(ChangeSet changes) override;
  void EndCommand();
  void FlushChanges();

  // What the editing tools leave to the workspace.
  void RunCommand(CommandId command) override;
  void CurrentNodeChanged() override;
  void SetDocumentTitle(const std::string& title) override { document_.SetTitle(title); }
  void NameInstance(int instanceId) override;
  // The breakpoints of the design file just opened (none for a new design), and the keeping of
  // a changed list.
  void LoadBreakpoints();
  void BreakpointsChanged(BreakpointList breakpoints);

  WorkspaceUi& ui_;
  OutputLog log_;
  Settings settings_;
  DesignDocument document_{log_, ui_, *this};
  SimulationSession session_{document_.library(), log_, ui_, *this};
  EditorView editor_{document_.library(),
                     ui_,
                     *this,
                     settings_,
                     session_.simulatingFlag(),
                     session_.simulation(),
                     session_.stopReasons()};
  std::optional<CrashRecovery> recovery_;
  std::optional<BreakpointStore> breakpointStore_;
  ChangeSet pendingChanges_;  // noted by the command under way
  TreeItem shownNode_ = 0;    // the node whose module the view showed when a command ended
  int commandDepth_ = 0;
};

}  // namespace pelkor
