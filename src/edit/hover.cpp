// SPDX-License-Identifier: GPL-3.0-or-later
// What the view shows about the object under the pointer: a frame while editing, on the objects
// an arc in progress may end on, and a tooltip with a register's tokens or a machine's state.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "edit/interaction_controller.h"
#include "view/run_state_reader.h"

namespace pelkor {

namespace {

std::string MainStateText(const StateMachine& machine) {
  auto state = machine.states.find(machine.mainState);
  return state == machine.states.end() ? std::string() : state->second.firstText.source;
}

// The source of the first text of the state the machine is in; nullopt when it is in none.
std::optional<std::string> CurrentStateText(const RunStateReader& run, int id,
                                            const StateMachine& machine) {
  const std::optional<int> number = run.MachineCurrentState(id);
  auto state = number ? machine.states.find(*number) : machine.states.end();
  if (state == machine.states.end())
    return std::nullopt;
  return state->second.firstText.source;
}

// The register's cells, entry first, "0" and "1" for tokens and "-" for empty cells, turned
// round unless the data flows right; nullopt for a register that has no cells to show.
std::optional<std::string> CellsText(const RunStateReader& run, int id,
                                     const ShiftRegister& shiftRegister) {
  const std::vector<int> cells = run.RegisterCells(id);
  if (cells.empty())
    return std::nullopt;
  std::string text;
  for (int cell : cells)
    text += cell == 0 ? '0' : cell == 1 ? '1' : '-';
  if (shiftRegister.direction != 2)
    std::reverse(text.begin(), text.end());
  return text;
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
  if (state_.hoverObject != id) {
    state_.hoverObject = id;
    host_.Changed(Change::kOverlay);
  }
}

void InteractionController::HoverWhileSimulating(int id) {
  const Module& m = module();
  const RunStateReader run(NodeRunState(simulation_, library_.currentInstance()));
  std::optional<std::string> text;
  switch (m.KindOf(id)) {
    case kNoKind:
      text = "";
      break;
    case kStateMachineKind:
      text = CurrentStateText(run, id, m.stateMachines.at(id));
      break;
    case kShiftRegisterKind:
      text = CellsText(run, id, m.shiftRegisters.at(id));
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
      Repaint(Change::kOverlay);
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
