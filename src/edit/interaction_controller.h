// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "edit/editor_host.h"
#include "edit/editor_ui.h"
#include "edit/interaction_state.h"
#include "files/settings.h"
#include "model/module_library.h"
#include "sim/simulation.h"
#include "view/hit_map.h"
#include "view/view_state.h"

namespace pelkor {

// The editing tools of the view: turns mouse and key events, in client pixels, into changes of
// the module shown, and asks the user through the editor's interface. Hit tests read the hit map
// of the last paint. `ctrl` tells that the Ctrl key is held; points then snap to grid cell
// centres, as they do while Ctrl is the last key pressed and while the grid snap is on.
class InteractionController {
 public:
  InteractionController(ModuleLibrary& library, EditorUi& ui, EditorHost& host,
                        InteractionState& state, ViewState& view, HitMap& hitMap,
                        const Settings& settings, const bool& simulating,
                        const Simulation& simulation);

  // Makes a tool the view's mode, dropping any arc in progress and the selection.
  void ChooseTool(Tool tool);

  void LeftPress(Point pixel, bool ctrl = false);
  // Whether a left press there would complete the arc in progress. The view holds such a press
  // until no double-click can claim it, since a double-click never completes an arc.
  bool PressCompletesArc(Point pixel) const;
  void Move(Point pixel, bool ctrl = false);
  void LeftRelease(Point pixel);
  // In place of the second press of a double-click: the arc in progress goes back to what it
  // was before the first press (unless the view held that press back), and the object's
  // properties open.
  void DoubleClick(Point pixel, bool firstPressHeld = false);
  // Opens the context menu the place calls for and runs the command chosen in it.
  void RightRelease(Point pixel);
  void MiddlePress(Point pixel);
  void MiddleRelease(Point pixel);
  void KeyDown(int key);
  void KeyUp(int key);

  // "編集": the property dialog of the context menu's object.
  void EditPrimitive();
  // Ends the arc in progress and drops the selection with its drag, as when the view moves to
  // another module or the simulation starts.
  void DropToolState();
  // Selects every primitive of the module shown.
  void SelectAll();

  bool HasSelection() const;
  bool CanPaste() const;
  // The selection's frame in client pixels, as the view draws it; nullopt without a selection.
  std::optional<Rect> SelectionTracker() const;

 private:
  Module& module() { return library_.currentModule(); }
  const Module& module() const { return library_.currentModule(); }
  int scale() const { return view_.scale; }
  // The primitive of the module shown under a client pixel; 0 for none, also when the last
  // paint left the ID of an object that is gone since.
  int ObjectAt(Point pixel) const;
  Point ToLogical(Point pixel, bool ctrl) const;
  // The scene changed; this also removes the hover frame.
  void Repaint(ChangeSet changes = Change::kSelection);
  // Records an edit of the module shown, when it changed.
  void RecordEdit();
  void CancelArc();
  // Ends an arc whose start is gone: undo, delete or a move to another module took it away.
  void DropStaleArc();
  // Ends a drag of the selection, however it ends: what it moved is one edit.
  void EndDrag();
  void ClearSelection();
  void SelectAlone(int id, Point anchor);
  // Whether the pixel lies in the selection's frame.
  bool InSelectionTracker(Point pixel) const;

  void PressOnObject(int id, Point pixel);
  void PressOnEmptySpace(Point pixel, bool ctrl);
  void StartDrag(Point pixel);
  void Place(Point pixel, bool ctrl);
  void Erase(int id);
  void FinishRectangle(Point pixel);
  void MoveSelection(Point from, Point to);

  void ArcPress(int id);
  // Whether the arc in progress may end on the object: another kind, in an allowed direction.
  bool CanEndArcOn(int id) const;
  void CompleteArc(int target);
  // The names an arc into (or out of) a counter, machine or module instance may carry.
  std::vector<std::string> PortNamesOf(int id, bool inputs) const;
  void UpdateRubberEnd(Point pixel, bool ctrl);

  void Hover(Point pixel);
  void HoverWhileSimulating(int id);
  void ShowHoverFrame(int id);
  void SetTooltip(const std::string& text);

  // The property dialog of any primitive but a module instance.
  void OpenDialogOf(int id);
  void DoubleClickInstance(int id);
  // Runs the command chosen in the menu, when the menu offered it enabled.
  void ShowContextMenu(Point pixel, const std::vector<ContextMenuItem>& items);

  ModuleLibrary& library_;
  EditorUi& ui_;
  EditorHost& host_;
  InteractionState& state_;
  ViewState& view_;
  HitMap& hitMap_;
  const Settings& settings_;
  const bool& simulating_;
  const Simulation& simulation_;
};

}  // namespace pelkor
