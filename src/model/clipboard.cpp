// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/clipboard.h"

#include <optional>
#include <vector>

#include "base/saturating_point.h"

namespace pelkor {

namespace {

// Adds the record with the add operation of its kind, then moves the stored copy by offset:
// the record is copied once.
template <typename Record>
std::optional<int> AddCopy(const Module& source, Module& target, std::map<int, Record> Module::*map,
                           int (Module::*add)(const Record&, Point), int id, Point offset) {
  auto it = (source.*map).find(id);
  if (it == (source.*map).end())
    return std::nullopt;
  const int newId = (target.*add)(it->second, Point{});
  Record& stored = (target.*map).at(newId);
  stored.position = SaturatingAdd(stored.position, offset);
  return newId;
}

struct CopiedObject {
  int newId = 0;
  bool isRegister = false;
};

// Adds the arcs filed under a copied register in `index` (arcsInto when `intoRegister`, else
// arcsOutOf) whose other end is copied too. An arc between two registers, which a hand-edited
// file may hold, is taken only under its `to`, so it is not added twice.
void CopyArcsOfRegister(const Module& module, const ArcIndex& index, bool intoRegister,
                        int registerId, int registerNewId,
                        const std::map<int, CopiedObject>& copies, Module& copy) {
  auto [begin, end] = index.equal_range(registerId);
  for (auto entry = begin; entry != end; ++entry) {
    auto arc = module.arcs.find(entry->second);
    if (arc == module.arcs.end())
      continue;
    const Arc& a = arc->second;
    auto other = copies.find(intoRegister ? a.from : a.to);
    if (other == copies.end() || (!intoRegister && other->second.isRegister))
      continue;
    if (intoRegister) {
      copy.AddArc(other->second.newId, registerNewId, a.bends, a.name);
    } else {
      copy.AddArc(registerNewId, other->second.newId, a.bends, a.name);
    }
  }
}

}  // namespace

std::optional<int> AddCopyOf(const Module& source, int id, ObjectKind kind, Module& target,
                             Point offset) {
  switch (kind) {
    case kStateMachineKind:
      return AddCopy(source, target, &Module::stateMachines, &Module::AddStateMachine, id, offset);
    case kShiftRegisterKind:
      return AddCopy(source, target, &Module::shiftRegisters, &Module::AddShiftRegister, id,
                     offset);
    case kCounterKind:
      return AddCopy(source, target, &Module::counters, &Module::AddCounter, id, offset);
    case kSourceKind:
      return AddCopy(source, target, &Module::sources, &Module::AddSource, id, offset);
    case kSinkKind:
      return AddCopy(source, target, &Module::sinks, &Module::AddSink, id, offset);
    case kInstanceKind:
      return AddCopy(source, target, &Module::instances, &Module::AddInstance, id, offset);
    default:
      return std::nullopt;
  }
}

Module CopySelection(const Module& module, Point pasteOrigin, OutputLog& log) {
  Module copy;
  copy.pasteOrigin = pasteOrigin;
  std::map<int, CopiedObject> copies;  // by old ID, for the primitives actually copied
  for (int id : module.selection.selectedIds) {
    const ObjectKind kind = module.KindOf(id);
    if (auto newId = AddCopyOf(module, id, kind, copy, Point{})) {
      copies.emplace_hint(copies.end(), id, CopiedObject{*newId, kind == kShiftRegisterKind});
    } else {
      log.WriteText("コピーエラー");
      copy.SetNextObjectId(copy.nextObjectId + 1);
    }
  }
  // Every arc has a register at one end, so looking only under the copied registers finds each
  // arc between two copied primitives.
  for (const auto& [oldId, copied] : copies) {
    if (!copied.isRegister)
      continue;
    CopyArcsOfRegister(module, module.arcsInto, true, oldId, copied.newId, copies, copy);
    CopyArcsOfRegister(module, module.arcsOutOf, false, oldId, copied.newId, copies, copy);
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
