// SPDX-License-Identifier: GPL-3.0-or-later
// The workspace's routing of commands and events to its parts, and what keeps the parts in
// step: no edit while simulating, the tools' state dropped when the design or the module shown
// changes under them, the title following the module shown.
#include "workspace/workspace.h"

#include "model/module_tree_rows.h"

#include "base/errors.h"

namespace pelkor {

Workspace::Workspace(WorkspaceUi& ui) : ui_(ui), shownNode_(library().currentInstance().treeItem) {}

void Workspace::SetSettings(const Settings& settings) {
  const CommandScope scope(*this);
  settings_ = settings;
  session_.SetRewindBudget(static_cast<std::size_t>(settings.rewindMemory) << 20);
  Changed(Change::kSettings);
}

std::string Workspace::WindowTitle() const {
  const RuntimeInstance& node = library().currentInstance();
  const std::string& shown = node.name;
  // Inside an instance the path tells which of several instances of a module is shown.
  std::string title = node.parent != nullptr ? InstancePath(node) : document_.title();
  if (document_.IsModified(shown))
    title += "*";
  if (document_.IsDamaged(shown))
    title += "（一部読み込めず）";
  return title + " - pelkor";
}

Tool Workspace::mode() const {
  return session_.runMode() != Tool::kNone ? session_.runMode() : editor_.tool();
}

// Simulation control.

void Workspace::Check() {
  const CommandScope scope(*this);
  if (IsSimulating())
    return;
  // Before the check: should the simulation bring the program down, the changes are safe.
  if (recovery_)
    recovery_->WriteCopies();
  editor_.SetTool(Tool::kNone);
  editor_.tools().DropToolState();
  session_.Check();
}

bool Workspace::Step() {
  const CommandScope scope(*this);
  return session_.Step();
}

bool Workspace::StepBack() {
  const CommandScope scope(*this);
  return session_.StepBack();
}

bool Workspace::Rewind() {
  const CommandScope scope(*this);
  return session_.Rewind();
}

bool Workspace::GoToStep(std::int64_t step) {
  const CommandScope scope(*this);
  return session_.GoToStep(step);
}

void Workspace::Run() {
  const CommandScope scope(*this);
  session_.Run();
}

void Workspace::Tick() {
  const CommandScope scope(*this);
  session_.Tick();
  // A tick may come while a modal dialog holds a command open: the view follows the run all
  // the same.
  FlushChanges();
}

RunOutcome Workspace::RunWithoutAnimation(const RunProgress& progress) {
  const CommandScope scope(*this);
  return session_.RunWithoutAnimation(progress);
}

void Workspace::Pause() {
  const CommandScope scope(*this);
  session_.Pause();
}

void Workspace::ExplainStop() {
  const CommandScope scope(*this);
  session_.ExplainStop();
}

void Workspace::EndSimulation() {
  const CommandScope scope(*this);
  if (!session_.End())
    return;
  editor_.SetTool(Tool::kNone);
  editor_.tools().DropToolState();
  document_.SetTitle(library().rootInstance().name);
}

bool Workspace::WatchTreeItem(TreeItem item) {
  const CommandScope scope(*this);
  return session_.WatchTreeItem(item);
}

bool Workspace::ReplaceSourceValues(const RuntimeInstance& node, int sourceId,
                                    std::vector<std::uint8_t> values) {
  const CommandScope scope(*this);
  return session_.ReplaceSourceValues(node, sourceId, std::move(values));
}

bool Workspace::SetSinkExpected(const std::string& moduleName, int sinkId,
                                const std::string& expected) {
  const CommandScope scope(*this);
  return document_.SetSinkExpected(moduleName, sinkId, expected);
}

// Design files.

void Workspace::New() {
  const CommandScope scope(*this);
  if (IsSimulating() || !document_.ConfirmDiscardChanges())
    return;
  editor_.tools().DropToolState();
  document_.Reset();
  LoadBreakpoints();
}

void Workspace::Open() {
  const CommandScope scope(*this);
  // Asked before the file dialog: what the user decides about the open design comes first.
  if (IsSimulating() || !document_.ConfirmDiscardChanges())
    return;
  editor_.tools().DropToolState();
  document_.Open();
  LoadBreakpoints();
}

OpenResult Workspace::OpenFile(const std::filesystem::path& path) {
  const CommandScope scope(*this);
  if (IsSimulating())
    return OpenResult::kLoadFailed;
  editor_.tools().DropToolState();
  const OpenResult result = document_.OpenFile(path);
  LoadBreakpoints();
  return result;
}

void Workspace::DropFiles(const std::vector<std::filesystem::path>& paths) {
  const CommandScope scope(*this);
  if (IsSimulating() || paths.empty() || !document_.ConfirmDiscardChanges())
    return;
  // A dropped design opens as Open opens it, with its hierarchy, so that saving it writes back
  // where it came from; of several, each opens in turn until one cannot be read.
  for (const std::filesystem::path& path : paths) {
    if (OpenFile(path) == OpenResult::kCannotOpen)
      return;
  }
}

void Workspace::Save() {
  const CommandScope scope(*this);
  if (!IsSimulating())
    document_.Save();
}

void Workspace::SaveAs() {
  const CommandScope scope(*this);
  if (!IsSimulating())
    document_.SaveAs();
}

void Workspace::SaveAll() {
  const CommandScope scope(*this);
  if (!IsSimulating())
    document_.SaveAll();
}

void Workspace::LoadModule() {
  const CommandScope scope(*this);
  if (!IsSimulating())
    document_.LoadModule();
}

void Workspace::LoadIntoInstance(int instanceId) {
  const CommandScope scope(*this);
  if (!IsSimulating())
    document_.LoadIntoInstance(instanceId);
}

bool Workspace::ConfirmDiscardChanges() {
  const CommandScope scope(*this);
  return document_.ConfirmDiscardChanges();
}

void Workspace::ExportBsp() {
  const CommandScope scope(*this);
  document_.ExportBsp();
}

ExportOutcome Workspace::ExportBspTo(const std::filesystem::path& path) {
  const CommandScope scope(*this);
  return document_.ExportBspTo(path);
}

// Hierarchy moves.

void Workspace::EnterInstance(int instanceId) {
  const CommandScope scope(*this);
  ModuleLibrary& library = document_.library();
  auto it = library.currentModule().instances.find(instanceId);
  if (it == library.currentModule().instances.end())
    return;
  if (it->second.moduleName.empty()) {
    NameInstance(instanceId);
    return;
  }
  try {
    library.EnterInstance(instanceId, it->second.moduleName,
                          IsSimulating() ? &session_.simulation() : nullptr);
  } catch (const MessageError& e) {
    log_.WriteText(e.what());
  }
  document_.SetTitle(library.currentInstance().name);
  Changed(Change::kView);
}

void Workspace::NameInstance(int instanceId) {
  const CommandScope scope(*this);
  if (!IsSimulating())
    document_.NameInstance(instanceId);
}

void Workspace::GoUp() {
  const CommandScope scope(*this);
  ModuleLibrary& library = document_.library();
  if (library.currentInstance().parent == nullptr)
    return;
  editor_.tools().DropToolState();
  library.GoUp();
  document_.SetTitle(library.currentInstance().name);
  Changed(Change::kView);
}

void Workspace::GoToTreeItem(TreeItem item) {
  const CommandScope scope(*this);
  // An arc begun in one module cannot end in another.
  editor_.tools().DropToolState();
  document_.library().GoToTreeItem(item);
  // The title names the node shown, however the view got there.
  document_.SetTitle(library().currentInstance().name);
  Changed(Change::kView);
}

void Workspace::CurrentNodeChanged() {
  Changed(Change::kView);
}

// Edits of the module shown.

void Workspace::DeleteSelection() {
  const CommandScope scope(*this);
  if (!IsSimulating())
    document_.DeleteSelection();
}

void Workspace::AlignSelection(int gridSize) {
  const CommandScope scope(*this);
  if (!IsSimulating())
    document_.AlignSelection(gridSize);
}

void Workspace::Copy(const Viewport& view) {
  const CommandScope scope(*this);
  // The anchor is kept in model coordinates, so the group lands at the paste point whatever
  // the zoom and scroll are when it is pasted.
  document_.Copy(view.ToLogical(interaction().anchor));
}

void Workspace::Cut(const Viewport& view) {
  const CommandScope scope(*this);
  if (!IsSimulating())
    document_.Cut(view.ToLogical(interaction().anchor));
}

void Workspace::Paste(const Viewport& view) {
  const CommandScope scope(*this);
  if (!IsSimulating())
    document_.Paste(view.ToLogical(interaction().lastPressPoint));
}

void Workspace::Undo() {
  const CommandScope scope(*this);
  if (IsSimulating())
    return;
  editor_.tools().DropToolState();  // the selection may name objects the restored state lacks
  document_.Undo();
}

void Workspace::Redo() {
  const CommandScope scope(*this);
  if (IsSimulating())
    return;
  editor_.tools().DropToolState();
  document_.Redo();
}

// The editor view.

void Workspace::ResizeView(int width, int height) {
  const CommandScope scope(*this);
  if (editor_.Resize(width, height))
    Changed(Change::kView);
}

void Workspace::ScrollView(ScrollAxis axis, ScrollRequest request, int thumbPosition) {
  const CommandScope scope(*this);
  editor_.Scroll(axis, request, thumbPosition);
  // The bars follow the view's own position even when the request moved nothing.
  Changed(Change::kView);
}

void Workspace::TurnWheel(const WheelTurn& turn) {
  const CommandScope scope(*this);
  if (editor_.TurnWheel(settings_.desktop.wheel, turn))
    Changed(Change::kView);
}

void Workspace::MousePress(Point pixel, bool ctrl) {
  const CommandScope scope(*this);
  editor_.tools().LeftPress(pixel, ctrl);
}

void Workspace::MouseMove(Point pixel, bool ctrl) {
  const CommandScope scope(*this);
  editor_.tools().Move(pixel, ctrl);
}

void Workspace::MouseRelease(Point pixel) {
  const CommandScope scope(*this);
  editor_.tools().LeftRelease(pixel);
}

void Workspace::MouseDoubleClick(Point pixel, bool firstPressHeld) {
  const CommandScope scope(*this);
  editor_.tools().DoubleClick(pixel, firstPressHeld);
}

void Workspace::RightButtonRelease(Point pixel) {
  const CommandScope scope(*this);
  editor_.tools().RightRelease(pixel);
}

void Workspace::MiddleButtonPress(Point pixel) {
  const CommandScope scope(*this);
  editor_.tools().MiddlePress(pixel);
}

void Workspace::MiddleButtonRelease(Point pixel) {
  const CommandScope scope(*this);
  editor_.tools().MiddleRelease(pixel);
}

void Workspace::KeyDown(int key) {
  const CommandScope scope(*this);
  editor_.tools().KeyDown(key);
}

void Workspace::KeyUp(int key) {
  const CommandScope scope(*this);
  editor_.tools().KeyUp(key);
}

bool Workspace::ChooseTool(CommandId command) {
  const CommandScope scope(*this);
  const std::optional<Tool> tool = ToolOfCommand(command);
  if (tool)
    editor_.tools().ChooseTool(*tool);
  return tool.has_value();
}

void Workspace::EditPrimitive() {
  const CommandScope scope(*this);
  editor_.tools().EditPrimitive();
}

}  // namespace pelkor
