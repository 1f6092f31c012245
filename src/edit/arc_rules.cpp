#include "edit/arc_rules.h"

#include <cmath>
#include <map>

#include "base/saturating_point.h"

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

Point PointBefore(Point p, Point t, int d) {
  if (p.x == t.x)
    return {t.x, SaturateToInt(p.y < t.y ? std::int64_t{t.y} - d : std::int64_t{t.y} + d)};
  // The angle of the line, and from it the step back toward p.
  const double angle = std::atan(static_cast<double>(std::int64_t{t.y} - p.y) /
                                 static_cast<double>(std::int64_t{t.x} - p.x));
  const double dx = d * std::cos(angle);
  const double dy = d * std::sin(angle);
  const double x = t.x > p.x ? t.x - dx : t.x + dx;
  const double y = t.x > p.x ? t.y - dy : t.y + dy;
  return {SaturateToInt(static_cast<std::int64_t>(x)), SaturateToInt(static_cast<std::int64_t>(y))};
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
