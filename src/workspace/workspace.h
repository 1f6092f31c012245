// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "edit/editor_host.h"
#include "edit/interaction_controller.h"
#include "edit/interaction_state.h"
#include "files/design_file.h"
#include "files/settings.h"
#include "model/module_library.h"
#include "model/output_log.h"
#include "sim/simulation.h"
#include "sim/step.h"
#include "view/hit_map.h"
#include "view/scene.h"
#include "view/view_navigation.h"
#include "view/view_state.h"
#include "view/viewport.h"
#include "workspace/simulation_control.h"
#include "workspace/waveform/signal_history.h"
#include "workspace/waveform/sink_watch.h"
#include "workspace/workspace_ui.h"

namespace pelkor {

enum class OpenResult {
  kOpened,      // the module and every sub-module were read
  kLoadFailed,  // something could not be read; the log says what, and what was read stays
  kCannotOpen,  // the file itself cannot be opened
};

enum class ExportResult {
  kExported,
  kCannotWrite,  // a file could not be opened or written
  kDesignError,  // the module holds logic that cannot be generated
};

struct ExportOutcome {
  ExportResult result = ExportResult::kExported;
  std::filesystem::path failedFile;  // with kCannotWrite: the main file or a sub-module file
};

// The one object that the desktop application and the command-line tool both drive: it owns
// the module library, the output log and the design folder, and its methods are the commands.
// Every failure inside a command ends as a line in the log, never as an exception. Every command
// and event ends with the model invariant check (in builds with assertions) and one Changed
// notification to the user interface saying what it changed.
class Workspace : private EditorHost {
 public:
  explicit Workspace(WorkspaceUi& ui);
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  OutputLog& log() { return log_; }
  ModuleLibrary& library() { return library_; }
  const ModuleLibrary& library() const { return library_; }
  // The run-time state of the nodes while a simulation runs. Scripts change what sources emit
  // and sinks expect through it; the check, the steps and the end go through the commands.
  const Simulation& simulation() const { return simulation_; }
  Simulation& simulation() { return simulation_; }
  const std::string& documentTitle() const { return documentTitle_; }

  // The folder the file commands read and write module files in; a chosen file's folder
  // becomes it, as a file dialog leaves it.
  const std::filesystem::path& designFolder() const { return designFolder_; }
  void SetDesignFolder(const std::filesystem::path& folder) { designFolder_ = folder; }

  bool IsSimulating() const { return simulating_; }

  // Runs a command of the menus, the toolbar, the keys or the context menus by its id, as the
  // user would; false when the command is disabled or is one of the windows' own (dialogs that
  // only the desktop has, its bars and docks), which the workspace does not run.
  bool Execute(CommandId command);
  // Whether the command is enabled and whether it shows checked, as menus and toolbars need;
  // the windows' own commands are disabled here, and the windows answer for them.
  CommandState Query(CommandId command) const;

  // Simulation control. A command that Query shows disabled does nothing.
  void Check();
  // False when there is no simulation or the step failed (its message is written).
  bool Step();
  void Run();  // the animated run: starts the timer, whose every period calls Tick
  void Tick();
  // Steps until two steps in a row move nothing, the step limit is reached, `progress` asks to
  // stop or a step fails. The log gets the start, the end and the elapsed time.
  RunOutcome RunWithoutAnimation(const RunProgress& progress = {});
  void Pause();
  void EndSimulation();

  // Waveforms and verdicts of the simulation. The history holds the node shown at the check
  // and the nodes added since, from the check on, and stays after the simulation ends.
  const SignalHistory& history() const { return history_; }
  // Adds the rows of the tree node `item`; false when it has no run-time state or its rows are
  // there already.
  bool WatchTreeItem(TreeItem item);
  // Whether the simulation records waveforms; on unless a caller needs no history.
  void SetRecordHistory(bool record) { recordHistory_ = record; }
  // Whether a run pauses after a step in which a sink took a value it does not expect.
  bool stopAtMismatch() const { return stopAtMismatch_; }
  void SetStopAtMismatch(bool stop) { stopAtMismatch_ = stop; }
  // Writes the history as a Value Change Dump; false when the file cannot be written, which
  // the log then says.
  bool SaveWaveforms(const std::filesystem::path& path);

  bool IsPaused() const { return paused_; }
  bool IsTimerRunning() const { return timerRunning_; }
  StepActivity stepActivity() const { return stepActivity_; }
  Tool mode() const { return interaction_.tool; }
  void SetMode(Tool mode) { interaction_.tool = mode; }  // the editing tools set themselves
  InteractionState& interaction() { return interaction_; }
  const InteractionState& interaction() const { return interaction_; }
  int timerInterval() const { return timerInterval_; }
  void SetTimerInterval(int milliseconds) { timerInterval_ = milliseconds; }
  std::int64_t stepLimit() const { return stepLimit_; }
  void SetStepLimit(std::int64_t steps) { stepLimit_ = steps; }
  // How large a design file, and a hierarchy of them together, may be to be read.
  void SetInputLimits(const InputLimits& limits) { inputLimits_ = limits; }
  // The clock of the elapsed-time report; the steady clock unless set.
  void SetClock(MillisecondClock clock) { clock_ = std::move(clock); }

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
  // Reads the module file of every instance of `module` not yet loaded and grows the tree
  // below `node`, recursively.
  void LoadSubModules(Module& module, RuntimeInstance& node);

  // Whether the module of that name differs from what was last loaded or saved (a module that
  // was never either counts as saved while it is empty).
  bool IsModified(const std::string& moduleName) const;
  // The modules of the hierarchy (what Save All writes) that changed, in name order.
  std::vector<std::string> ModifiedModules() const;
  // Asks what to do with changes when there are any; false when the user cancels or saving
  // them failed, so the caller must not drop the design.
  bool ConfirmDiscardChanges();

  // Exports the module shown as a DRAVU objects file, asking for the file (offered as the
  // module's name with ".bsp", which a name typed without an extension gets too); ExportBspTo
  // for a path already chosen. A failure is written to the log.
  void ExportBsp();
  ExportOutcome ExportBspTo(const std::filesystem::path& path);

  // Hierarchy moves.
  void EnterInstance(int instanceId);
  void GoUp();
  void GoToTreeItem(TreeItem item);

  // Editing commands on the current module's selection. The view passes its origin and scale;
  // copy keeps the selection's anchor and paste lands at the last press point (both in client
  // pixels, from the interaction state). Delete, align, cut and paste do nothing while a
  // simulation runs, as it runs on a working copy of the module.
  void DeleteSelection();
  void AlignSelection(int gridSize);
  void Copy(const Viewport& view);
  void Cut(const Viewport& view);
  void Paste(const Viewport& view);
  void Undo();
  void Redo();  // what undo undid, until the design changes again
  bool HasSelection() const { return !library_.currentModule().selection.Empty(); }
  bool CanPaste() const { return !library_.clipboard.kinds.empty(); }

  // The editor view: its zoom and scroll, and the hit map that its paint fills.
  ViewState& view() { return view_; }
  const ViewState& view() const { return view_; }
  // The view's client area got a new size in pixels.
  void ResizeView(int width, int height);
  // A scroll-bar request on one axis.
  void ScrollView(ScrollAxis axis, ScrollRequest request, int thumbPosition);
  // The mouse wheel: zooms, but not during a middle-button pan.
  void WheelZoom(int wheelDelta);
  const HitMap& hitMap() const { return hitMap_; }
  // Paints the module shown with the arc being drawn and the selection's tracker, and rebuilds
  // the hit map from the same paint. The view replays the frame's picture, then its overlay,
  // then HoverFrameDrawing.
  void PaintView(Frame& frame);
  // The whole module shown with its simulation state at a zoom level of the view (0, full
  // detail, unless said), for printing: no selection, no arc in progress, no hit map.
  DrawList PictureDrawing(int zoomLevel = 0) const;
  // The frame around the object under the pointer; empty when there is none.
  DrawList HoverFrameDrawing() const;
  const Settings& settings() const { return settings_; }
  void SetSettings(const Settings& settings);

  // The view's events, in client pixels; `ctrl` tells that the Ctrl key is held. A double-click
  // comes in place of its second press. The key codes are those of edit/key_codes.h.
  void MousePress(Point pixel, bool ctrl = false);
  void MouseMove(Point pixel, bool ctrl = false);
  void MouseRelease(Point pixel);
  void MouseDoubleClick(Point pixel);
  void RightButtonRelease(Point pixel);
  void MiddleButtonPress(Point pixel);
  void MiddleButtonRelease(Point pixel);
  void KeyDown(int key);
  void KeyUp(int key);
  // An editing-tool command; false for any other command.
  bool ChooseTool(CommandId command);
  // "編集" of the context menu.
  void EditPrimitive();
  // The selection's frame in client pixels, for the view to draw; nullopt without a selection.
  std::optional<Rect> SelectionTracker() const { return controller_.SelectionTracker(); }

 private:
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

  // The path of a module's file in the design folder, or nullopt for a name that is not a
  // plain file name (a separator, "..", a NUL): such a file is never opened.
  std::optional<std::filesystem::path> ModuleFilePath(const std::string& moduleName) const;
  // Reads a design file through the reader of the hierarchy being loaded. When it cannot be
  // read, writes why to the log (`cannotOpen`, unless empty, for a file that cannot be opened)
  // and gives nullopt.
  std::optional<DesignText> ReadDesign(const std::filesystem::path& path,
                                       const std::string& cannotOpen);
  // Reads a design file into `module`, writing to the log why it cannot be read or a read
  // failure. False when it cannot be read.
  bool ReadInto(const std::filesystem::path& path, const std::string& cannotOpen, Module& module);
  // Reads design-file text into `module`, writing a failure and every record passed over to
  // the log.
  void ReadText(const std::string& text, Module& module);
  // The folder a chosen file lies in, as an absolute path, so that later commands find the
  // sub-module files there whatever the process's working directory is.
  static std::filesystem::path FolderOf(const std::filesystem::path& path);
  // Asks for a design file; the chosen file's folder becomes the design folder.
  std::optional<std::filesystem::path> ChooseDesignFile(bool forSaving);
  void SetTitle(const std::string& title);
  // What the editing tools leave to the workspace.
  void RunCommand(CommandId command) override;
  void CurrentNodeChanged() override;
  void SetDocumentTitle(const std::string& title) override { SetTitle(title); }
  // Empties the library back to "untitle", without asking.
  void ResetDesign();
  // Remembers the module's present revision as what is on disk.
  void MarkSaved(const std::string& moduleName);
  void MarkAllSaved();
  void ShowCurrentNode();
  // While simulating, the sinks of the module shown hold what the node shown received, for the
  // sink dialog.
  void PublishReceived();
  void NameInstance(int instanceId);
  // Deletes the selected primitives with the tree nodes of selected module instances, then
  // clears the selection.
  void DeleteSelectedObjects();
  // Undo or redo on the module shown, keeping the tree in step; false while simulating.
  bool StepThroughHistory(bool (Module::*step)());
  // Grows the tree below the nodes of the given instances of the current module, as loading
  // does: placing an instance makes only its own node.
  void GrowInstanceNodes(const std::vector<int>& instanceIds);

  // One step with the Step command's handling of failures, recorded; false when the step
  // failed or the run stopped at a mismatch.
  bool RunOneStep();
  bool StepWithFailures();
  StepHooks SimulationHooks();
  void StopAnimationTimer();
  void WriteRunEnd();
  // The waveform and verdict bookkeeping around the steps (waveform_commands.cpp).
  void StartRecording();
  // After each step; false when the run stopped at a sink's mismatch.
  bool RecordStep();
  void DropSelection();
  std::int64_t Now() const;

  WorkspaceUi& ui_;
  OutputLog log_;
  ModuleLibrary library_{log_};
  Simulation simulation_{library_};
  std::filesystem::path designFolder_;
  std::string documentTitle_ = "untitle";
  // The simulation state, in the order the view keeps it.
  std::int64_t startTicks_ = 0;
  StepActivity stepActivity_ = 0;
  int timerInterval_ = 50;
  bool treeOpenedByCheck_ = false;
  bool simulating_ = false;  // from a successful check to the end of the simulation
  bool paused_ = false;
  bool timerRunning_ = false;
  bool creationFailed_ = false;  // set by the step in progress
  std::int64_t stepLimit_ = 1'000'000;
  std::int64_t stepsSinceCheck_ = 0;
  bool recordHistory_ = true;
  bool stopAtMismatch_ = false;
  bool stoppedAtMismatch_ = false;  // set by the step in progress
  SignalHistory history_;
  SinkWatch sinkWatch_;
  MillisecondClock clock_;
  InteractionState interaction_;
  int loadFailures_ = 0;  // failures the current load command wrote to the log
  InputLimits inputLimits_;
  InputReader hierarchyReader_;  // the files of the hierarchy being loaded
  ViewState view_;
  HitMap hitMap_;
  Settings settings_;
  InteractionController controller_{library_, ui_,       *this,       interaction_, view_,
                                    hitMap_,  settings_, simulating_, simulation_};
  // The revision of each module as last loaded or saved, by module name.
  std::map<std::string, std::uint64_t> savedRevisions_;
  ChangeSet pendingChanges_;  // noted by the command under way
  int commandDepth_ = 0;
};

}  // namespace pelkor
