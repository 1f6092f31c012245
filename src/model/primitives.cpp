// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/primitives.h"

#include <algorithm>
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

void EraseIndexEntry(ArcIndex& index, int key, int arcId) {
  auto [begin, end] = index.equal_range(key);
  for (auto it = begin; it != end; ++it) {
    if (it->second == arcId) {
      index.erase(it);
      return;
    }
  }
  index.EraseIf([arcId](const ArcIndexEntry& entry) { return entry.second == arcId; });
}

void RemoveArcsOf(std::map<int, Arc>& arcs, ArcIndex& arcsInto, ArcIndex& arcsOutOf, int id) {
  auto [outBegin, outEnd] = arcsOutOf.equal_range(id);
  for (auto it = outBegin; it != outEnd; ++it) {
    auto arc = arcs.find(it->second);
    EraseIndexEntry(arcsInto, arc == arcs.end() ? 0 : arc->second.to, it->second);
    if (arc != arcs.end())
      arcs.erase(arc);
  }
  auto [inBegin, inEnd] = arcsInto.equal_range(id);
  for (auto it = inBegin; it != inEnd; ++it) {
    auto arc = arcs.find(it->second);
    EraseIndexEntry(arcsOutOf, arc == arcs.end() ? 0 : arc->second.from, it->second);
    if (arc != arcs.end())
      arcs.erase(arc);
  }
  arcsInto.erase(id);
  arcsOutOf.erase(id);
}

void RemoveArc(std::map<int, Arc>& arcs, ArcIndex& arcsInto, ArcIndex& arcsOutOf, int arcId) {
  auto arc = arcs.find(arcId);
  if (arc == arcs.end())
    return;
  EraseIndexEntry(arcsInto, arc->second.to, arcId);
  EraseIndexEntry(arcsOutOf, arc->second.from, arcId);
  arcs.erase(arc);
}

void StateMachine::RemoveState(int id) {
  RemoveArcsOf(stateArcs, stateArcsInto, stateArcsOutOf, id);
  states.erase(id);
}

void StateMachine::ResetNextIds() {
  nextStateId = static_cast<int>(states.size()) + 1;
  nextStateArcId = static_cast<int>(stateArcs.size()) + 1;
}

void StateMachine::Regenerate() {
  for (auto& [id, state] : states)
    state.Regenerate();
  RebuildNameSets();
}

void StateMachine::RebuildNameSets() {
  inputNames.clear();
  outputNames.clear();
  for (const auto& [id, state] : states) {
    inputNames.insert(state.inputNames.begin(), state.inputNames.end());
    for (const auto& [name, number] : state.firstText.outputs)
      outputNames.insert(name);
  }
}

}  // namespace pelkor
