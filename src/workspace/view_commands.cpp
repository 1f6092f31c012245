// The editor view's events, handed to the editing tools, and what the tools leave to the
// workspace: the commands of the context menus and the windows that follow the module shown.
#include <utility>

#include "view/picture_view.h"
#include "view/run_state_reader.h"
#include "workspace/workspace.h"

namespace pelkor {

void Workspace::PaintView(Frame& frame) {
  const Module& module = library_.currentModule();
  SceneOverlay overlay;
  if (interaction_.arcInProgress && module.PositionOf(interaction_.arcSource) != nullptr) {
    overlay.arc =
        ArcInProgress{interaction_.arcSource, interaction_.pendingBends, interaction_.rubberEnd};
  }
  if (!module.selection.Empty())
    overlay.selectionBounds = module.selection.bounds;
  const RunStateReader run(NodeRunState(simulation_, library_.currentInstance()));
  PaintScene(module, view_, StyleFromSettings(settings_), simulating_ ? &run : nullptr, overlay,
             frame, &hitMap_);
}

DrawList Workspace::PictureDrawing() const {
  const Module& module = library_.currentModule();
  const RunStateReader run(NodeRunState(simulation_, library_.currentInstance()));
  Frame frame;
  PaintScene(module, PictureView(module, 0), StyleFromSettings(settings_),
             simulating_ ? &run : nullptr, {}, frame, nullptr);
  return std::move(frame.picture);
}

DrawList Workspace::HoverFrameDrawing() const {
  const Point* position = library_.currentModule().PositionOf(interaction_.hoverObject);
  if (interaction_.hoverObject == 0 || position == nullptr)
    return {};
  return HoverFrame(*position, view_, StyleFromSettings(settings_));
}

void Workspace::MousePress(Point pixel, bool ctrl) {
  controller_.LeftPress(pixel, ctrl);
}

void Workspace::MouseMove(Point pixel, bool ctrl) {
  controller_.Move(pixel, ctrl);
}

void Workspace::MouseRelease(Point pixel) {
  controller_.LeftRelease(pixel);
}

void Workspace::MouseDoubleClick(Point pixel) {
  controller_.DoubleClick(pixel);
}

void Workspace::RightButtonRelease(Point pixel) {
  controller_.RightRelease(pixel);
}

void Workspace::MiddleButtonPress(Point pixel) {
  controller_.MiddlePress(pixel);
}

void Workspace::MiddleButtonRelease(Point pixel) {
  controller_.MiddleRelease(pixel);
}

void Workspace::KeyDown(int key) {
  controller_.KeyDown(key);
}

void Workspace::KeyUp(int key) {
  controller_.KeyUp(key);
}

bool Workspace::ChooseTool(CommandId command) {
  const std::optional<Tool> tool = ToolOfCommand(command);
  if (tool)
    controller_.ChooseTool(*tool);
  return tool.has_value();
}

void Workspace::EditPrimitive() {
  controller_.EditPrimitive();
}

void Workspace::RunCommand(CommandId command) {
  switch (command) {
    case CommandId::kCopy:
      Copy(view_.viewport());
      break;
    case CommandId::kPaste:
      Paste(view_.viewport());
      break;
    case CommandId::kDelete:
      DeleteSelection();
      break;
    case CommandId::kAlign:
      AlignSelection(settings_.gridSize);
      break;
    case CommandId::kLoadModule:
      LoadIntoInstance(interaction_.contextObject);
      break;
    default:
      break;
  }
}

void Workspace::ModuleTreeChanged() {
  ui_.ModuleTreeChanged();
}

void Workspace::CurrentNodeChanged() {
  ui_.CurrentNodeChanged(library_.currentInstance().treeItem);
}

}  // namespace pelkor
