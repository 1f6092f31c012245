// What the view shows about the object under the pointer: a frame while editing, on the objects
// an arc in progress may end on, and a tooltip with a register's tokens or a machine's state.
#include <algorithm>

#include "edit/interaction_controller.h"
#include "edit/object_size.h"
#include "edit/runtime_text.h"

namespace pelkor {

namespace {

// The frame is drawn only where the objects are big enough to be told apart.
constexpr int kLargestFramedScale = 8;

std::string MainStateText(const StateMachine& machine) {
  auto state = machine.states.find(machine.mainState);
  return state == machine.states.end() ? std::string() : state->second.firstText.source;
}

}  // namespace

void InteractionController::SetTooltip(const std::string& text) {
  if (text == state_.tooltipText)
    return;
  state_.tooltipText = text;
  ui_.TooltipChanged(text);
}

void InteractionController::ShowHoverFrame(int id) {
  state_.hoverStale = false;
  std::optional<Rect> frame;
  if (scale() <= kLargestFramedScale) {
    const Point centre = view_.viewport().ToScreen(*module().PositionOf(id));
    const int half = (kObjectSize + 6) / 2 / std::max(scale(), 1);
    frame = Rect{centre.x - half, centre.y - half, centre.x + half, centre.y + half};
  }
  if (frame != state_.hoverFrame) {
    state_.hoverFrame = frame;
    ui_.OverlayChanged();
  }
}

void InteractionController::HoverWhileSimulating(int id) {
  const Module& m = module();
  const RuntimeInstance& node = library_.currentInstance();
  std::optional<std::string> text;
  switch (m.KindOf(id)) {
    case kNoKind:
      text = "";
      break;
    case kStateMachineKind:
      text = CurrentStateText(node, id, m.stateMachines.at(id));
      break;
    case kShiftRegisterKind:
      text = RegisterCellsText(node, id, m.shiftRegisters.at(id));
      break;
    default:  // the other kinds leave the tooltip as it is
      break;
  }
  if (text)
    SetTooltip(*text);
}

void InteractionController::Hover(Point pixel) {
  const int id = ObjectAt(pixel);
  if (simulating_) {
    HoverWhileSimulating(id);
    return;
  }
  if (id == 0) {
    if (!state_.hoverStale) {
      state_.hoverStale = true;
      Repaint();
    }
    SetTooltip("");
    return;
  }
  const Module& m = module();
  const ObjectKind kind = m.KindOf(id);
  const bool drawing = state_.arcInProgress;
  const bool fromRegister = drawing && m.KindOf(state_.arcSource) == kShiftRegisterKind;
  // While an arc is drawn, only the objects it may end on get a frame.
  bool framed = false;
  switch (kind) {
    case kShiftRegisterKind:
      framed = !drawing || !fromRegister;
      break;
    case kSourceKind:
      framed = !drawing;
      break;
    default:
      framed = !drawing || fromRegister;
      break;
  }
  if (framed)
    ShowHoverFrame(id);
  if (kind == kStateMachineKind)
    SetTooltip(MainStateText(m.stateMachines.at(id)));
  else if (kind == kShiftRegisterKind)
    SetTooltip(m.shiftRegisters.at(id).ShiftOrder());
}

}  // namespace pelkor
