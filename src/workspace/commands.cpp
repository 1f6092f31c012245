// SPDX-License-Identifier: GPL-3.0-or-later
// The one way to run a command of the menus, the toolbar, the keys and the context menus by its
// id, and the state each shows; and how what a command changed reaches the windows once it ends.
#include <utility>

#include "model/model_invariants.h"
#include "workspace/workspace.h"

namespace pelkor {

Workspace::CommandScope::CommandScope(Workspace& workspace) : workspace_(workspace) {
  ++workspace_.commandDepth_;
}

Workspace::CommandScope::~CommandScope() {
  if (--workspace_.commandDepth_ == 0)
    workspace_.EndCommand();
}

void Workspace::Changed(ChangeSet changes) {
  pendingChanges_ |= changes;
  if (commandDepth_ == 0)
    EndCommand();
}

void Workspace::EndCommand() {
  AssertModuleInvariants(library().currentModule());
  if (recovery_)
    recovery_->DropStaleCopies();
  // Another node shown, after opening, entering, leaving or picking one: its module is shown
  // from its objects, not from where the last one was scrolled to.
  if (const TreeItem shown = library().currentInstance().treeItem; shown != shownNode_) {
    shownNode_ = shown;
    editor_.ShowModuleStart();
    pendingChanges_ |= Change::kView;
  }
  FlushChanges();
}

void Workspace::FlushChanges() {
  if (!pendingChanges_.Empty())
    ui_.Changed(std::exchange(pendingChanges_, {}));
}

void Workspace::RunCommand(CommandId command) {
  Execute(command);
}

bool Workspace::Execute(CommandId command) {
  const CommandScope scope(*this);
  if (!Query(command).enabled)
    return false;
  if (ChooseTool(command))
    return true;
  switch (command) {
    case CommandId::kNew:
      New();
      break;
    case CommandId::kOpen:
      Open();
      break;
    case CommandId::kSave:
      Save();
      break;
    case CommandId::kSaveAs:
      SaveAs();
      break;
    case CommandId::kSaveAll:
      SaveAll();
      break;
    case CommandId::kExportBsp:
      ExportBsp();
      break;
    case CommandId::kLoadModuleFile:
      LoadModule();
      break;
    case CommandId::kUndo:
      Undo();
      break;
    case CommandId::kRedo:
      Redo();
      break;
    case CommandId::kCut:
      Cut(editor_.view().viewport());
      break;
    case CommandId::kCopy:
      Copy(editor_.view().viewport());
      break;
    case CommandId::kPaste:
      Paste(editor_.view().viewport());
      break;
    case CommandId::kDelete:
      DeleteSelection();
      break;
    case CommandId::kSelectAll:
      editor_.tools().SelectAll();
      break;
    case CommandId::kAlign:
      AlignSelection(settings_.gridSize);
      break;
    case CommandId::kEditPrimitive:
      EditPrimitive();
      break;
    case CommandId::kLoadModule:
      LoadIntoInstance(editor_.contextObject());
      break;
    case CommandId::kZoomIn:
      if (editor_.ZoomIn())
        Changed(Change::kView);
      break;
    case CommandId::kZoomOut:
      if (editor_.ZoomOut())
        Changed(Change::kView);
      break;
    case CommandId::kZoomToFit:
      editor_.ZoomToFit();
      Changed(Change::kView);
      break;
    case CommandId::kShowObjectIds:
      editor_.ToggleObjectIds();
      Changed(Change::kView);
      break;
    case CommandId::kShowSinkVerdicts:
      editor_.ToggleSinkVerdicts();
      Changed(Change::kView);
      break;
    case CommandId::kStopAtMismatch:
      session_.SetStopAtMismatch(!session_.stopAtMismatch());
      Changed(Change::kSimulation);
      break;
    case CommandId::kCheck:
      Check();
      break;
    case CommandId::kStep:
      Step();
      break;
    case CommandId::kStepBack:
      StepBack();
      break;
    case CommandId::kRewind:
      Rewind();
      break;
    case CommandId::kRun:
      Run();
      break;
    case CommandId::kRunWithoutAnimation:
      RunWithoutAnimation(ui_.LongRunProgress());
      break;
    case CommandId::kPause:
      Pause();
      break;
    case CommandId::kExplainStop:
      ExplainStop();
      break;
    case CommandId::kStop:
      EndSimulation();
      break;
    case CommandId::kUpperModule:
      GoUp();
      break;
    case CommandId::kToggleBreakpoint:
      ToggleBreakpoint();
      break;
    default:  // the windows' own commands
      return false;
  }
  return true;
}

CommandState Workspace::Query(CommandId command) const {
  if (const std::optional<Tool> tool = ToolOfCommand(command))
    return {!IsSimulating(), editor_.tool() == *tool};
  switch (command) {
    case CommandId::kCheck:
      return {!IsSimulating(), IsSimulating()};
    case CommandId::kStep:
    case CommandId::kStop:
    case CommandId::kPause:
      return {IsSimulating(), false};
    case CommandId::kStepBack:
    case CommandId::kRewind:
      return {session_.CanGoBack(), false};
    case CommandId::kRun:
      return {IsSimulating(), session_.runMode() == Tool::kAnimatedRun};
    case CommandId::kRunWithoutAnimation:
      return {IsSimulating(), session_.runMode() == Tool::kRunWithoutAnimation};
    // The file and clipboard commands change the design, which a simulation runs on until it
    // ends.
    case CommandId::kNew:
    case CommandId::kOpen:
    case CommandId::kSave:
    case CommandId::kSaveAs:
    case CommandId::kSaveAll:
    case CommandId::kLoadModuleFile:
    case CommandId::kLoadModule:
    case CommandId::kCut:
    case CommandId::kCopy:
    case CommandId::kPaste:
    case CommandId::kDelete:
    case CommandId::kAlign:
      return {!IsSimulating(), false};
    case CommandId::kSelectAll:
      return {!IsSimulating() && library().currentModule().PrimitiveCount() > 0, false};
    case CommandId::kUndo:
      return {!IsSimulating() && library().currentModule().CanUndo(), false};
    case CommandId::kRedo:
      return {!IsSimulating() && library().currentModule().CanRedo(), false};
    case CommandId::kUpperModule:
      return {library().currentInstance().parent != nullptr, false};
    case CommandId::kShowObjectIds:
      return {true, editor_.view().showObjectIds};
    case CommandId::kShowSinkVerdicts:
      return {true, editor_.view().showSinkVerdicts};
    case CommandId::kStopAtMismatch:
      return {true, session_.stopAtMismatch()};
    case CommandId::kToggleBreakpoint:
      return {true, false};
    case CommandId::kExplainStop:
      return {IsSimulating() && !IsTimerRunning(), false};
    case CommandId::kExportBsp:
    case CommandId::kEditPrimitive:
    case CommandId::kZoomIn:
    case CommandId::kZoomOut:
    case CommandId::kZoomToFit:
      return {true, false};
    default:  // the windows' own commands, which the workspace cannot run
      return {false, false};
  }
}

}  // namespace pelkor
