#include "model/clipboard.h"

#include <optional>
#include <set>
#include <vector>

#include "model/saturating_point.h"

namespace pelkor {

namespace {

template <typename Record>
std::optional<int> AddCopy(const std::map<int, Record>& from, int id, Point offset, Module& target,
                           int (Module::*add)(const Record&, Point)) {
  auto it = from.find(id);
  if (it == from.end())
    return std::nullopt;
  Record copy = it->second;
  copy.selected = false;
  copy.position = SaturatingAdd(copy.position, offset);
  return (target.*add)(copy, Point{});
}

// Adds a copy of `source`'s primitive `id` of the given kind to `target` with the add
// operation of that kind, moved by offset. nullopt when `source` holds no such primitive.
std::optional<int> AddCopyOf(const Module& source, int id, ObjectKind kind, Module& target,
                             Point offset) {
  switch (kind) {
    case kStateMachineKind:
      return AddCopy(source.stateMachines, id, offset, target, &Module::AddStateMachine);
    case kShiftRegisterKind:
      return AddCopy(source.shiftRegisters, id, offset, target, &Module::AddShiftRegister);
    case kCounterKind:
      return AddCopy(source.counters, id, offset, target, &Module::AddCounter);
    case kSourceKind:
      return AddCopy(source.sources, id, offset, target, &Module::AddSource);
    case kSinkKind:
      return AddCopy(source.sinks, id, offset, target, &Module::AddSink);
    case kInstanceKind:
      return AddCopy(source.instances, id, offset, target, &Module::AddInstance);
    default:
      return std::nullopt;
  }
}

// Adds the arcs filed under `registerId` in `index` whose other end is also copied. `copied`
// keeps an arc between two registers, which a hand-edited file may hold, from being added twice.
void CopyArcsFiledUnder(const Module& module, const std::multimap<int, int>& index, int registerId,
                        const std::map<int, int>& newIds, std::set<int>& copied, Module& copy) {
  auto [begin, end] = index.equal_range(registerId);
  for (auto entry = begin; entry != end; ++entry) {
    if (copied.contains(entry->second))
      continue;
    auto arc = module.arcs.find(entry->second);
    if (arc == module.arcs.end())
      continue;
    auto from = newIds.find(arc->second.from);
    auto to = newIds.find(arc->second.to);
    if (from == newIds.end() || to == newIds.end())
      continue;
    copy.AddArc(from->second, to->second, arc->second.bends, arc->second.name);
    copied.insert(entry->second);
  }
}

}  // namespace

Module CopySelection(const Module& module, Point pasteOrigin, OutputLog& log) {
  Module copy;
  copy.pasteOrigin = pasteOrigin;
  std::map<int, int> newIds;  // old ID -> new ID, for the primitives actually copied
  for (int id : module.selection.selectedIds) {
    if (auto newId = AddCopyOf(module, id, module.KindOf(id), copy, Point{})) {
      newIds[id] = *newId;
    } else {
      log.WriteText("コピーエラー");
      copy.SetNextObjectId(copy.nextObjectId + 1);
    }
  }
  // Every arc has a register at one end, so looking only under the copied registers finds each
  // arc between two copied primitives exactly once.
  std::set<int> copiedArcs;
  for (const auto& [oldId, newId] : newIds) {
    if (module.KindOf(oldId) != kShiftRegisterKind)
      continue;
    CopyArcsFiledUnder(module, module.arcsInto, oldId, newIds, copiedArcs, copy);
    CopyArcsFiledUnder(module, module.arcsOutOf, oldId, newIds, copiedArcs, copy);
  }
  return copy;
}

std::map<int, int> PasteClipboard(const Module& clipboard, Module& target, Point pastePoint) {
  const Point offset = SaturatingSub(pastePoint, clipboard.pasteOrigin);
  std::map<int, int> newIds;
  // Walks the kind entries themselves rather than 1..count: a copy error leaves a gap.
  for (const auto& [id, kind] : clipboard.kinds) {
    if (auto newId = AddCopyOf(clipboard, id, kind, target, offset))
      newIds[id] = *newId;
  }
  for (const auto& [arcId, arc] : clipboard.arcs) {
    auto from = newIds.find(arc.from);
    auto to = newIds.find(arc.to);
    if (from == newIds.end() || to == newIds.end())
      continue;
    std::vector<Point> bends = arc.bends;
    for (Point& bend : bends)
      bend = SaturatingAdd(bend, offset);
    target.AddArc(from->second, to->second, bends, arc.name);
  }
  return newIds;
}

}  // namespace pelkor
