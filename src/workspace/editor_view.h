// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "edit/editor_host.h"
#include "edit/editor_ui.h"
#include "edit/interaction_controller.h"
#include "edit/interaction_state.h"
#include "files/settings.h"
#include "model/module_library.h"
#include "sim/simulation.h"
#include "view/draw_list.h"
#include "view/hit_map.h"
#include "view/scene.h"
#include "view/view_navigation.h"
#include "view/view_state.h"
#include "workspace/stop_reasons.h"

namespace pelkor {

namespace testing {
class WorkspaceProbe;
}

// The editor view of the module shown: its zoom and scroll, the hit map its paint fills, and
// the editing tools that turn mouse and key events into edits. It draws the run-time state of
// the node shown while a simulation runs, and edits nothing then but through the dialogs.
class EditorView {
 public:
  // `stopReasons`: the objects to outline in the node shown.
  EditorView(ModuleLibrary& library, EditorUi& ui, EditorHost& host, const Settings& settings,
             const bool& simulating, const Simulation& simulation,
             const std::vector<StopReason>& stopReasons);
  EditorView(const EditorView&) = delete;
  EditorView& operator=(const EditorView&) = delete;

  const ViewState& view() const { return view_; }
  const InteractionState& interaction() const { return interaction_; }
  const HitMap& hitMap() const { return hitMap_; }
  Tool tool() const { return interaction_.tool; }
  void SetTool(Tool tool) { interaction_.tool = tool; }
  // The selection's frame in client pixels, for the view to draw; nullopt without a selection.
  std::optional<Rect> SelectionTracker() const { return controller_.SelectionTracker(); }
  // Where copy takes the group from and paste puts it, in model coordinates.
  Point CopyAnchor() const { return view_.viewport().ToLogical(interaction_.anchor); }
  Point PastePoint() const { return view_.viewport().ToLogical(interaction_.lastPressPoint); }
  // The object a context menu was last opened on; 0 for none.
  int contextObject() const { return interaction_.contextObject; }

  // Paints the module shown with the arc being drawn and the selection's tracker, and rebuilds
  // the hit map from the same paint.
  void Paint(Frame& frame);
  // The whole module shown with its simulation state at a zoom level of the view, for
  // printing: no selection, no arc in progress, no hit map.
  DrawList Picture(int zoomLevel) const;
  // The frame around the object under the pointer; empty when there is none.
  DrawList HoverFrame() const;

  // Each returns whether the view moved.
  bool Resize(int width, int height);
  bool Scroll(ScrollAxis axis, ScrollRequest request, int thumbPosition);
  bool TurnWheel(WheelHabit habit, const WheelTurn& turn);  // not during a middle-button pan
  bool ZoomIn();
  bool ZoomOut();
  void ZoomToFit();
  // Shows the module shown from the top-left of its objects.
  void ShowModuleStart();
  // Scrolls an object at `position` (logical) into sight, when it is not.
  void BringIntoView(Point position);
  void ToggleObjectIds() { view_.showObjectIds = !view_.showObjectIds; }
  void ToggleSinkVerdicts() { view_.showSinkVerdicts = !view_.showSinkVerdicts; }

  InteractionController& tools() { return controller_; }
  const InteractionController& tools() const { return controller_; }

 private:
  friend class testing::WorkspaceProbe;  // tests set up view and tool states directly

  ModuleLibrary& library_;
  const Settings& settings_;
  const bool& simulating_;
  const Simulation& simulation_;
  const std::vector<StopReason>& stopReasons_;
  InteractionState interaction_;
  ViewState view_;
  HitMap hitMap_;
  InteractionController controller_;
};

}  // namespace pelkor
