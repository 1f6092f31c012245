#include "edit/arc_rules.h"

#include <map>

namespace pelkor {

bool IsArcTargetAllowed(ObjectKind from, ObjectKind to) {
  if (from == kShiftRegisterKind) {
    return to == kStateMachineKind || to == kCounterKind || to == kSinkKind || to == kInstanceKind;
  }
  if (to == kShiftRegisterKind) {
    return from == kStateMachineKind || from == kCounterKind || from == kSourceKind ||
           from == kInstanceKind;
  }
  return false;
}

int DirectionForArcFrom(int shiftLine, Point registerPosition, Point towards) {
  if (shiftLine == 0 || shiftLine == 2)
    return shiftLine;
  return registerPosition.x < towards.x ? 2 : 0;
}

void RemoveArc(Module& module, int arcId) {
  auto arc = module.arcs.find(arcId);
  if (arc == module.arcs.end())
    return;
  const auto eraseEntry = [arcId](std::multimap<int, int>& index, int key) {
    auto [begin, end] = index.equal_range(key);
    for (auto it = begin; it != end; ++it) {
      if (it->second == arcId) {
        index.erase(it);
        return;
      }
    }
  };
  eraseEntry(module.arcsInto, arc->second.to);
  eraseEntry(module.arcsOutOf, arc->second.from);
  module.arcs.erase(arc);
}

}  // namespace pelkor
