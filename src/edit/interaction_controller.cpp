// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer and key events of the view: tools, placing, erasing, selecting and moving.
#include "edit/interaction_controller.h"

#include <algorithm>
#include <cstdint>

#include "base/saturating_point.h"
#include "edit/key_codes.h"
#include "view/arc_path.h"
#include "view/scene.h"
#include "view/view_navigation.h"

namespace pelkor {

InteractionController::InteractionController(ModuleLibrary& library, EditorUi& ui, EditorHost& host,
                                             InteractionState& state, ViewState& view,
                                             HitMap& hitMap, const Settings& settings,
                                             const bool& simulating, const Simulation& simulation)
    : library_(library),
      ui_(ui),
      host_(host),
      state_(state),
      view_(view),
      hitMap_(hitMap),
      settings_(settings),
      simulating_(simulating),
      simulation_(simulation) {}

int InteractionController::ObjectAt(Point pixel) const {
  const int id = hitMap_.At(pixel);
  return id != 0 && module().PositionOf(id) != nullptr ? id : 0;
}

Point InteractionController::ToLogical(Point pixel, bool ctrl) const {
  const Point logical = view_.viewport().ToLogical(pixel);
  if (ctrl || state_.lastKey == kCtrlKey || settings_.desktop.gridSnap)
    return SnapToCell(logical, settings_.gridSize);
  return logical;
}

void InteractionController::Repaint(ChangeSet changes) {
  state_.hoverObject = 0;
  host_.Changed(changes | Change::kOverlay);
}

void InteractionController::RecordEdit() {
  if (module().RecordEdit())
    host_.Changed(Change::kContent);
}

void InteractionController::CancelArc() {
  state_.arcInProgress = false;
  state_.pendingBends.clear();
}

void InteractionController::DropStaleArc() {
  if (state_.arcInProgress && module().PositionOf(state_.arcSource) == nullptr)
    CancelArc();
}

void InteractionController::EndDrag() {
  if (!state_.dragging)
    return;
  state_.dragging = false;
  state_.dragStarted = false;
  RecordEdit();
}

void InteractionController::ClearSelection() {
  EndDrag();
  module().selection.Clear(module());
}

void InteractionController::SelectAlone(int id, Point anchor) {
  ClearSelection();
  module().selection.Add(module(), id);
  state_.anchor = anchor;
}

void InteractionController::DropToolState() {
  CancelArc();
  ClearSelection();
  state_.selectingRectangle = false;
}

void InteractionController::SelectAll() {
  ClearSelection();
  module().selection.SelectWhere(module(), [](Point) { return true; });
  Repaint();
}

bool InteractionController::HasSelection() const {
  return !module().selection.Empty();
}

bool InteractionController::CanPaste() const {
  return !library_.clipboard.kinds.empty();
}

std::optional<Rect> InteractionController::SelectionTracker() const {
  if (module().selection.selectedIds.empty())
    return std::nullopt;
  return TrackerRect(module().selection.bounds, view_);
}

bool InteractionController::InSelectionTracker(Point pixel) const {
  const std::optional<Rect> tracker = SelectionTracker();
  return tracker && tracker->left <= pixel.x && pixel.x < tracker->right &&
         tracker->top <= pixel.y && pixel.y < tracker->bottom;
}

void InteractionController::ChooseTool(Tool tool) {
  if (simulating_)
    return;
  state_.tool = tool;
  DropToolState();
  Repaint();
}

void InteractionController::LeftPress(Point pixel, bool ctrl) {
  DropStaleArc();
  state_.arcBeforePress = {state_.arcSource, state_.arcInProgress, state_.pendingBends};
  // The tools change the design; a running simulation works on a copy whose run-time records
  // point into it, so they rest until it ends.
  if (IsEditingTool(state_.tool) && !simulating_) {
    if (const int id = ObjectAt(pixel))
      PressOnObject(id, pixel);
    else
      PressOnEmptySpace(pixel, ctrl);
  }
  if (!state_.arcInProgress)
    Repaint();
  state_.lastPressPoint = pixel;
}

void InteractionController::StartDrag(Point pixel) {
  state_.dragging = true;
  state_.dragStarted = false;
  state_.anchor = pixel;
}

void InteractionController::PressOnObject(int id, Point pixel) {
  switch (state_.tool) {
    case Tool::kMove:
      if (!InSelectionTracker(pixel)) {
        SelectAlone(id, pixel);
        Repaint();
      }
      StartDrag(pixel);
      break;
    case Tool::kEraser:
      Erase(id);
      break;
    case Tool::kArc:
      ArcPress(id);
      break;
    default:  // nothing is placed on top of another primitive
      break;
  }
}

void InteractionController::PressOnEmptySpace(Point pixel, bool ctrl) {
  switch (state_.tool) {
    case Tool::kMove:
      if (InSelectionTracker(pixel)) {
        StartDrag(pixel);
        return;
      }
      ClearSelection();
      if (const int arcId = ArcAt(module(), view_, pixel)) {
        module().selection.selectedArcs.insert(arcId);
        return;
      }
      state_.selectionView = view_.viewport();
      state_.anchor = pixel;
      state_.selectingRectangle = true;
      state_.rectangleCorner = pixel;
      break;
    case Tool::kArc:
      if (state_.arcInProgress)
        state_.pendingBends.push_back(ToLogical(pixel, ctrl));
      break;
    case Tool::kEraser:
      break;
    default:
      Place(pixel, ctrl);
      break;
  }
}

void InteractionController::Place(Point pixel, bool ctrl) {
  ClearSelection();
  const Point at = ToLogical(pixel, ctrl);
  Module& m = module();
  if (KindPlacedBy(state_.tool) != kNoKind && !m.HasRoomFor(1)) {
    library_.log().WriteText(kNoObjectIdLeft);
    return;
  }
  // Marked now, so that a double-click can hit it before the next paint.
  hitMap_.MarkSquare(view_.viewport().ToScreen(at), kObjectSize / (2 * std::max(scale(), 1)),
                     m.nextObjectId);
  switch (KindPlacedBy(state_.tool)) {
    case kShiftRegisterKind: {
      ShiftRegister shiftRegister;
      shiftRegister.direction = settings_.shiftLine == 2 ? 2 : 0;
      m.AddShiftRegister(shiftRegister, at);
      break;
    }
    case kStateMachineKind:
      m.AddStateMachine({}, at);
      break;
    case kCounterKind:
      m.AddCounter({}, at);
      break;
    case kSourceKind:
      m.AddSource({}, at);
      break;
    case kSinkKind:
      m.AddSink({}, at);
      break;
    case kInstanceKind:
      m.AddInstance({}, at);
      break;
    default:
      return;
  }
  RecordEdit();
}

void InteractionController::Erase(int id) {
  Module& m = module();
  const bool isInstance = m.KindOf(id) == kInstanceKind;
  // A selection must not go on naming an object that is gone.
  if (m.selection.selectedIds.contains(id))
    ClearSelection();
  Selection erased;
  erased.selectedIds.insert(id);
  erased.DeleteSelected(m);  // the primitive and its arcs
  m.kinds.erase(id);
  if (isInstance) {
    library_.RemoveInstanceEverywhere(id);
    host_.Changed(Change::kTree);
  }
  RecordEdit();
}

void InteractionController::FinishRectangle(Point pixel) {
  state_.selectingRectangle = false;
  const Point a = state_.anchor;
  const Rect band{std::max(std::min(a.x, pixel.x), 0), std::max(std::min(a.y, pixel.y), 0),
                  std::min(std::max(a.x, pixel.x), view_.width),
                  std::min(std::max(a.y, pixel.y), view_.height)};
  if (SelectInRectangle(module(), state_.selectionView, band) == 0)
    ClearSelection();
  Repaint();
}

void InteractionController::MoveSelection(Point from, Point to) {
  state_.anchor = from;
  state_.current = to;
  // The objects follow the pointer: the selection moves by -delta.
  const std::int64_t s = scale();
  const Point delta{SaturateToInt((std::int64_t{from.x} - to.x) * s),
                    SaturateToInt((std::int64_t{from.y} - to.y) * s)};
  module().selection.MoveSelected(module(), delta);
}

void InteractionController::Move(Point pixel, bool ctrl) {
  DropStaleArc();
  if (state_.dragging && !state_.dragStarted) {
    state_.dragStarted = true;
    state_.dragPoint = state_.anchor;
  }
  if (state_.panning) {
    PanByPixels(view_, SaturatingSub(pixel, state_.panPoint));
    state_.panPoint = pixel;
    Repaint(Change::kView);
  }
  if (state_.dragging && !state_.panning) {
    MoveSelection(state_.dragPoint, pixel);
    state_.dragPoint = pixel;
    Repaint(Change::kContent);
  }
  if (state_.selectingRectangle) {
    state_.rectangleCorner = pixel;
    host_.Changed(Change::kOverlay);
  }
  if (state_.arcInProgress)
    UpdateRubberEnd(pixel, ctrl);
  Hover(pixel);
  ui_.PointerMoved(view_.viewport().ToLogical(pixel));
}

void InteractionController::LeftRelease(Point pixel) {
  if (state_.selectingRectangle)
    FinishRectangle(pixel);
  if (!state_.dragging)
    return;
  // A press and release without a move between them: the drag starts from the press point,
  // not from where the previous drag ended.
  if (!state_.dragStarted)
    state_.dragPoint = state_.anchor;
  MoveSelection(state_.dragPoint, pixel);
  EndDrag();
  Repaint(Change::kContent);
}

void InteractionController::MiddlePress(Point pixel) {
  state_.panning = true;
  state_.panPoint = pixel;
}

void InteractionController::MiddleRelease(Point /*pixel*/) {
  state_.panning = false;
}

void InteractionController::KeyDown(int key) {
  state_.lastKey = key;
  switch (key) {
    case kDeleteKey:
    case kBackspaceKey:
      if (HasSelection()) {
        EndDrag();
        host_.RunCommand(CommandId::kDelete);
      }
      break;
    case kEscapeKey:
      // Escape ends an arc in progress; otherwise it puts the tool down, back to selecting.
      if (state_.arcInProgress)
        CancelArc();
      else if (!simulating_)
        state_.tool = Tool::kNone;
      break;
    case kLeftKey:
      PanByPixels(view_, {-10, 0});
      break;
    case kUpKey:
      PanByPixels(view_, {0, -10});
      break;
    case kRightKey:
      PanByPixels(view_, {10, 0});
      break;
    case kDownKey:
      PanByPixels(view_, {0, 10});
      break;
    default:
      break;
  }
  Repaint(Change::kSelection | Change::kView);
}

void InteractionController::KeyUp(int /*key*/) {
  state_.lastKey = 0;
}

}  // namespace pelkor
