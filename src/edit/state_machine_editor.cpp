// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/state_machine_editor.h"

#include <algorithm>
#include <climits>

#include "base/errors.h"
#include "files/two_step_form.h"
#include "view/arrow_geometry.h"

namespace pelkor {

StateMachineDialogLayout LayOutStateMachineDialog(int clientWidth, int clientHeight) {
  const int surfaceWidth = std::max(clientWidth - 110, 0);
  const int surfaceHeight = std::max(clientHeight - 50, 0);
  return {{10, 40, 10 + surfaceWidth, 40 + surfaceHeight},
          {clientWidth - 87, 40},
          {clientWidth - 87, 67}};
}

StateMachineEditor::StateMachineEditor(const StateMachine& machine, StateMachineEditorUi& ui)
    : ui_(ui), working_(machine), pristine_(machine) {}

void StateMachineEditor::Store(StateMachine& machine) const {
  machine.mainState = working_.mainState;
  machine.stateArcs = working_.stateArcs;
  machine.states = working_.states;
  machine.stateArcsInto = working_.stateArcsInto;
  machine.stateArcsOutOf = working_.stateArcsOutOf;
  machine.nextStateId = working_.nextStateId;
  machine.nextStateArcId = working_.nextStateArcId;
  machine.inputNames = working_.inputNames;
  machine.outputNames = working_.outputNames;
  machine.twoStepMode = working_.twoStepMode;
}

void StateMachineEditor::ChooseTool(MachineTool tool) {
  tool_ = tool;
  arcInProgress_ = false;
  bends_.clear();
  selectedArc_ = 0;
}

void StateMachineEditor::ResizeSurface(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  hitMap_.Resize(width_, height_);
  Repaint();
}

bool StateMachineEditor::OnSurface(Point point) const {
  return point.x >= 0 && point.y >= 0 && point.x < width_ && point.y < height_;
}

int StateMachineEditor::StateAt(Point point) const {
  return hitMap_.At(point);
}

Point StateMachineEditor::CentreOf(int stateId) const {
  return working_.states.at(stateId).position;
}

int StateMachineEditor::ArcAt(Point point) const {
  int found = 0;
  for (const auto& [id, arc] : working_.stateArcs) {
    const std::vector<Point> line = ArcLine(arc);
    for (std::size_t i = 1; i < line.size(); ++i) {
      if (NearSegment(point, line[i - 1], line[i], kArcReach))
        found = id;
    }
  }
  return found;
}

std::vector<Point> StateMachineEditor::ArcLine(const StateArc& arc) const {
  std::vector<Point> line{CentreOf(arc.from)};
  line.insert(line.end(), arc.bends.begin(), arc.bends.end());
  line.push_back(PointBefore(line.back(), CentreOf(arc.to), kArcStopShort));
  return line;
}

void StateMachineEditor::RecordEdit(const StateMachine& before) {
  if (working_ != before)
    undo_.push_back(before);
}

void StateMachineEditor::Press(Point point) {
  if (!OnSurface(point))
    return;
  arcBeforePress_ = arcInProgress_;
  arcSourceBeforePress_ = arcSource_;
  bendsBeforePress_ = bends_;
  const StateMachine before = working_;
  const int state = StateAt(point);
  const int arc = state == 0 && !arcInProgress_ ? ArcAt(point) : 0;
  selectedArc_ = 0;
  switch (tool_) {
    case MachineTool::kArc:
      PressWithArcTool(point, state, arc);
      break;
    case MachineTool::kState:
      if (state == 0)
        AddState(point);
      break;
    case MachineTool::kEraser:
      if (state != 0)
        working_.RemoveState(state);
      else if (arc != 0)
        RemoveArc(working_.stateArcs, working_.stateArcsInto, working_.stateArcsOutOf, arc);
      break;
    case MachineTool::kNone:
      selectedArc_ = arc;
      break;
  }
  RecordEdit(before);
  if (!arcInProgress_)
    Repaint();
}

void StateMachineEditor::PressWithArcTool(Point point, int state, int arc) {
  if (state != 0 && !arcInProgress_) {
    arcSource_ = state;
    arcInProgress_ = true;
    rubberEnd_ = point;
  } else if (state != 0) {
    CompleteArc(state);
  } else if (arcInProgress_) {
    bends_.push_back(point);
  } else {
    selectedArc_ = arc;
  }
}

bool StateMachineEditor::PressCompletesArc(Point point) const {
  return tool_ == MachineTool::kArc && arcInProgress_ && OnSurface(point) && StateAt(point) != 0;
}

void StateMachineEditor::DeleteSelectedArc() {
  if (selectedArc_ == 0)
    return;
  const StateMachine before = working_;
  RemoveArc(working_.stateArcs, working_.stateArcsInto, working_.stateArcsOutOf, selectedArc_);
  selectedArc_ = 0;
  RecordEdit(before);
  Repaint();
}

bool StateMachineEditor::Undo() {
  if (undo_.empty())
    return false;
  working_ = std::move(undo_.back());
  undo_.pop_back();
  // An arc begun on a state that is gone again cannot go on.
  if (arcInProgress_ && !working_.states.contains(arcSource_)) {
    arcInProgress_ = false;
    bends_.clear();
  }
  selectedArc_ = 0;
  Repaint();
  return true;
}

std::vector<std::string> StateMachineEditor::ArcNamesOf(int stateId) const {
  std::vector<std::string> names;
  for (const auto& [number, name] : working_.states.at(stateId).arcNames)
    names.push_back(name);
  return names;
}

void StateMachineEditor::CompleteArc(int target) {
  const int source = arcSource_;
  const std::vector<std::string> names = ArcNamesOf(source);
  auto [begin, end] = working_.stateArcsOutOf.equal_range(source);
  auto existing = std::find_if(begin, end, [&](const auto& entry) {
    return working_.stateArcs.at(entry.second).to == target;
  });
  std::string name = existing != end ? working_.stateArcs.at(existing->second).name : "";
  // Cancel leaves everything as it was: no new arc, an existing one unchanged.
  if (names.size() >= 2) {
    const std::optional<std::string> chosen = ui_.ChooseArcName(names, name);
    if (!chosen) {
      arcInProgress_ = false;
      bends_.clear();
      return;
    }
    name = *chosen;
  }
  if (existing != end) {
    StateArc& arc = working_.stateArcs.at(existing->second);
    arc.name = name;
    arc.bends = bends_;
  } else {
    const int id = working_.nextStateArcId++;
    working_.stateArcs[id] = StateArc{source, target, bends_, name};
    working_.stateArcsOutOf.emplace(source, id);
    working_.stateArcsInto.emplace(target, id);
  }
  arcInProgress_ = false;
  bends_.clear();
}

void StateMachineEditor::AddState(Point position) {
  const int id = working_.nextStateId;
  if (working_.states.contains(id)) {  // only the largest int, read from a file, can be taken
    ui_.Warn(kNoStateIdLeft);
    return;
  }
  working_.states[id].position = position;
  if (working_.nextStateId < INT_MAX)
    ++working_.nextStateId;
}

void StateMachineEditor::Move(Point point) {
  if (!arcInProgress_ || point.x < 0 || point.y < 0 || point.x >= width_ - 3 ||
      point.y >= height_ - 3) {
    return;
  }
  const int target = StateAt(point);
  if (target != 0) {
    const Point start = bends_.empty() ? CentreOf(arcSource_) : bends_.back();
    rubberEnd_ = PointBefore(start, CentreOf(target), kArcStopShort);
  } else {
    rubberEnd_ = point;
  }
  Repaint();
}

void StateMachineEditor::DoubleClick(Point point, bool firstPressHeld) {
  if (!OnSurface(point))
    return;
  if (!firstPressHeld) {
    arcInProgress_ = arcBeforePress_;
    arcSource_ = arcSourceBeforePress_;
    bends_ = bendsBeforePress_;
  }
  const int stateId = StateAt(point);
  if (stateId == 0) {
    Repaint();
    return;
  }
  const StateMachine before = working_;
  MachineState& state = working_.states.at(stateId);
  const StateDialogValues answer = ui_.EditState(
      {state.firstText.source, state.secondText.source, working_.mainState == stateId});
  if (answer.isMain)
    SetMainState(stateId);
  else if (working_.mainState == stateId)
    SetMainState(0);
  state.firstText.source = answer.firstText;
  state.secondText.source = answer.secondText;
  try {
    state.Regenerate();
  } catch (const MessageError&) {
    // Only texts the dialog never accepted get here (it refuses OK on a text error); they stay
    // as they are and the check reports them.
  }
  RecordEdit(before);
  Repaint();
}

void StateMachineEditor::SetMainState(int stateId) {
  working_.mainState = stateId;
  for (auto& [id, state] : working_.states)
    state.isMain = id == stateId;
}

void StateMachineEditor::Accept() {
  working_.RebuildNameSets();
  if (working_.states.size() == 1)
    SetMainState(working_.states.begin()->first);
  working_.twoStepMode = IsTwoStepForm(working_, BlankRemoval::kSpacesOnly);
}

void StateMachineEditor::Cancel() {
  working_ = pristine_;
  undo_.clear();
  ChooseTool(tool_);
  Repaint();
}

}  // namespace pelkor
