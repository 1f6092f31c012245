// SPDX-License-Identifier: GPL-3.0-or-later
// The editor view: painting the module shown, its zoom and scroll.
#include "workspace/editor_view.h"

#include <utility>

#include "sim/node_run_state.h"
#include "view/module_framing.h"
#include "view/picture_view.h"
#include "view/run_state_reader.h"
#include "view/view_style.h"

namespace pelkor {

EditorView::EditorView(ModuleLibrary& library, EditorUi& ui, EditorHost& host,
                       const Settings& settings, const bool& simulating,
                       const Simulation& simulation, const std::vector<StopReason>& stopReasons)
    : library_(library),
      settings_(settings),
      simulating_(simulating),
      simulation_(simulation),
      stopReasons_(stopReasons),
      controller_(library, ui, host, interaction_, view_, hitMap_, settings, simulating,
                  simulation) {}

void EditorView::Paint(Frame& frame) {
  const Module& module = library_.currentModule();
  SceneOverlay overlay;
  if (interaction_.arcInProgress && module.PositionOf(interaction_.arcSource) != nullptr) {
    overlay.arc =
        ArcInProgress{interaction_.arcSource, interaction_.pendingBends, interaction_.rubberEnd};
  }
  if (!module.selection.Empty())
    overlay.selection = &module.selection;
  for (const StopReason& reason : stopReasons_) {
    const Point* position = module.PositionOf(reason.object.id);
    if (reason.node == library_.currentInstance().treeItem && position != nullptr)
      overlay.blockedObjects.push_back(*position);
  }
  const RunStateReader run(NodeRunState(simulation_, library_.currentInstance()));
  PaintScene(module, view_, StyleFromSettings(settings_), simulating_ ? &run : nullptr, overlay,
             frame, &hitMap_);
}

DrawList EditorView::Picture(int zoomLevel) const {
  const Module& module = library_.currentModule();
  const RunStateReader run(NodeRunState(simulation_, library_.currentInstance()));
  Frame frame;
  PaintScene(module, PictureView(module, zoomLevel), StyleFromSettings(settings_),
             simulating_ ? &run : nullptr, {}, frame, nullptr);
  return std::move(frame.picture);
}

DrawList EditorView::HoverFrame() const {
  const Point* position = library_.currentModule().PositionOf(interaction_.hoverObject);
  if (interaction_.hoverObject == 0 || position == nullptr)
    return {};
  return pelkor::HoverFrame(*position, view_, StyleFromSettings(settings_));
}

bool EditorView::Resize(int width, int height) {
  ResizeView(view_, width, height);
  return true;
}

bool EditorView::Scroll(ScrollAxis axis, ScrollRequest request, int thumbPosition) {
  return pelkor::Scroll(view_, axis, request, thumbPosition);
}

bool EditorView::TurnWheel(WheelHabit habit, const WheelTurn& turn) {
  return !interaction_.panning && pelkor::TurnWheel(view_, habit, turn);
}

void EditorView::ZoomToFit() {
  pelkor::ZoomToFit(view_, library_.currentModule());
}

void EditorView::ShowModuleStart() {
  pelkor::ShowModuleStart(view_, library_.currentModule());
}

void EditorView::BringIntoView(Point position) {
  pelkor::BringIntoView(view_, position);
}

bool EditorView::ZoomIn() {
  return pelkor::ZoomIn(view_);
}

bool EditorView::ZoomOut() {
  return pelkor::ZoomOut(view_);
}

}  // namespace pelkor
