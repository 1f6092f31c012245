#include "model/primitives.h"

#include <utility>

namespace pelkor {

std::string ShiftRegister::ShiftOrder() const {
  if (direction == 2)
    return contents;
  return std::string(contents.rbegin(), contents.rend());
}

std::string ShiftRegister::ShiftOrderPrefix(std::size_t n) const {
  return ShiftOrder().substr(0, n);
}

namespace {

// Drops every derived form, keeping what the user typed.
void ClearDerived(FunctionText& text) {
  FunctionText fresh;
  fresh.source = std::move(text.source);
  text = std::move(fresh);
}

}  // namespace

void Counter::Regenerate() {
  RegenerateText(countText);
}

void MachineState::Regenerate() {
  ClearDerived(firstText);
  ClearDerived(secondText);
  inputNames.clear();
  arcNames.clear();
  hasGuard = false;

  Normalize(firstText);
  Normalize(secondText);
  hasGuard = !firstText.normalized.empty() && firstText.normalized.front() == '?';
  CollectVariables(firstText);
  CollectVariables(secondText);
  TranslateNames(firstText);
  TranslateNames(secondText);
  if (hasGuard)
    SplitGuard(firstText);

  for (const auto& [name, number] : firstText.inputs)
    inputNames.insert(name);
  for (const auto& [name, number] : secondText.inputs)
    inputNames.insert(name);
  for (const auto& [name, number] : secondText.outputs)
    arcNames[number] = name;
}

void StateMachine::ResetNextIds() {
  nextStateId = static_cast<int>(states.size()) + 1;
  nextStateArcId = static_cast<int>(stateArcs.size()) + 1;
}

void StateMachine::Regenerate() {
  inputNames.clear();
  outputNames.clear();
  for (auto& [id, state] : states) {
    state.Regenerate();
    inputNames.insert(state.inputNames.begin(), state.inputNames.end());
    for (const auto& [name, number] : state.firstText.outputs)
      outputNames.insert(name);
  }
}

}  // namespace pelkor
