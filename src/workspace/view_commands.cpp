// SPDX-License-Identifier: GPL-3.0-or-later
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

DrawList Workspace::PictureDrawing(int zoomLevel) const {
  const Module& module = library_.currentModule();
  const RunStateReader run(NodeRunState(simulation_, library_.currentInstance()));
  Frame frame;
  PaintScene(module, PictureView(module, zoomLevel), StyleFromSettings(settings_),
             simulating_ ? &run : nullptr, {}, frame, nullptr);
  return std::move(frame.picture);
}

DrawList Workspace::HoverFrameDrawing() const {
  const Point* position = library_.currentModule().PositionOf(interaction_.hoverObject);
  if (interaction_.hoverObject == 0 || position == nullptr)
    return {};
  return HoverFrame(*position, view_, StyleFromSettings(settings_));
}

void Workspace::SetSettings(const Settings& settings) {
  settings_ = settings;
  Changed(Change::kSettings);
}

void Workspace::ResizeView(int width, int height) {
  const CommandScope scope(*this);
  pelkor::ResizeView(view_, width, height);
  Changed(Change::kView);
}

void Workspace::ScrollView(ScrollAxis axis, ScrollRequest request, int thumbPosition) {
  const CommandScope scope(*this);
  // The bars follow the view's own position even when the request moved nothing.
  Scroll(view_, axis, request, thumbPosition);
  Changed(Change::kView);
}

void Workspace::WheelZoom(int wheelDelta) {
  const CommandScope scope(*this);
  if (!interaction_.panning && ZoomByWheel(view_, wheelDelta))
    Changed(Change::kView);
}

void Workspace::MousePress(Point pixel, bool ctrl) {
  const CommandScope scope(*this);
  controller_.LeftPress(pixel, ctrl);
}

void Workspace::MouseMove(Point pixel, bool ctrl) {
  const CommandScope scope(*this);
  controller_.Move(pixel, ctrl);
}

void Workspace::MouseRelease(Point pixel) {
  const CommandScope scope(*this);
  controller_.LeftRelease(pixel);
}

void Workspace::MouseDoubleClick(Point pixel) {
  const CommandScope scope(*this);
  controller_.DoubleClick(pixel);
}

void Workspace::RightButtonRelease(Point pixel) {
  const CommandScope scope(*this);
  controller_.RightRelease(pixel);
}

void Workspace::MiddleButtonPress(Point pixel) {
  const CommandScope scope(*this);
  controller_.MiddlePress(pixel);
}

void Workspace::MiddleButtonRelease(Point pixel) {
  const CommandScope scope(*this);
  controller_.MiddleRelease(pixel);
}

void Workspace::KeyDown(int key) {
  const CommandScope scope(*this);
  controller_.KeyDown(key);
}

void Workspace::KeyUp(int key) {
  const CommandScope scope(*this);
  controller_.KeyUp(key);
}

bool Workspace::ChooseTool(CommandId command) {
  const CommandScope scope(*this);
  const std::optional<Tool> tool = ToolOfCommand(command);
  if (tool)
    controller_.ChooseTool(*tool);
  return tool.has_value();
}

void Workspace::EditPrimitive() {
  const CommandScope scope(*this);
  controller_.EditPrimitive();
}

void Workspace::CurrentNodeChanged() {
  PublishReceived();
  Changed(Change::kView);
}

}  // namespace pelkor
