// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/module_diff.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <type_traits>
#include <unordered_map>
#include <utility>

#include "model/record_fields.h"

namespace pelkor {

namespace {

// The kinds in the order the design file writes them.
constexpr ObjectKind kFileOrder[] = {kShiftRegisterKind, kStateMachineKind, kCounterKind,
                                     kSourceKind,        kSinkKind,         kInstanceKind};

// Equal for records whose compared fields are all equal.
std::string ContentKey(const RecordFields& fields) {
  std::string key;
  for (const RecordField& field : fields) {
    key += field.value;
    key += '\0';
  }
  return key;
}

std::vector<FieldChange> Differences(const RecordFields& before, const RecordFields& after) {
  std::vector<FieldChange> changes;
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i].value != after[i].value)
      changes.push_back({before[i].name, before[i].value, after[i].value, before[i].isText});
  }
  return changes;
}

// A primitive as the matching sees it.
struct Primitive {
  int id = 0;
  Point position;
  RecordFields fields;
  std::string key;
  std::string name;  // sources and sinks: the port name that identifies them
};

template <typename Record>
std::vector<Primitive> Collect(const std::map<int, Record>& records) {
  std::vector<Primitive> result;
  result.reserve(records.size());
  for (const auto& [id, record] : records) {
    Primitive p{id, record.position, FieldsOf(record), {}, {}};
    p.key = ContentKey(p.fields);
    if constexpr (std::is_same_v<Record, SourceTransition> ||
                  std::is_same_v<Record, SinkTransition>)
      p.name = record.name;
    result.push_back(std::move(p));
  }
  return result;
}

std::vector<Primitive> PrimitivesOf(const Module& module, ObjectKind kind) {
  switch (kind) {
    case kShiftRegisterKind:
      return Collect(module.shiftRegisters);
    case kStateMachineKind:
      return Collect(module.stateMachines);
    case kCounterKind:
      return Collect(module.counters);
    case kSourceKind:
      return Collect(module.sources);
    case kSinkKind:
      return Collect(module.sinks);
    default:
      return Collect(module.instances);
  }
}

constexpr std::size_t kUnmatched = std::numeric_limits<std::size_t>::max();

// Pairs of indexes into the before and after lists of one kind.
struct Pairing {
  std::vector<std::size_t> ofBefore;  // index in `after`, or kUnmatched
  std::vector<std::size_t> ofAfter;   // index in `before`, or kUnmatched

  Pairing(std::size_t before, std::size_t after)
      : ofBefore(before, kUnmatched), ofAfter(after, kUnmatched) {}
  void Pair(std::size_t b, std::size_t a) {
    ofBefore[b] = a;
    ofAfter[a] = b;
  }
};

std::int64_t SquaredDistance(Point p, Point q) {
  const std::int64_t dx = std::int64_t{p.x} - q.x;
  const std::int64_t dy = std::int64_t{p.y} - q.y;
  return dx * dx + dy * dy;
}

// Objects that stayed where they were: at one place, one with equal content goes first.
void PairByPosition(const std::vector<Primitive>& before, const std::vector<Primitive>& after,
                    Pairing& pairing) {
  std::map<std::pair<int, int>, std::vector<std::size_t>> afterAt;
  for (std::size_t a = 0; a < after.size(); ++a)
    afterAt[{after[a].position.x, after[a].position.y}].push_back(a);
  for (std::size_t b = 0; b < before.size(); ++b) {
    const auto it = afterAt.find({before[b].position.x, before[b].position.y});
    if (it == afterAt.end())
      continue;
    std::size_t chosen = kUnmatched;
    for (const std::size_t a : it->second) {
      if (pairing.ofAfter[a] != kUnmatched)
        continue;
      if (after[a].key == before[b].key) {
        chosen = a;
        break;
      }
      if (chosen == kUnmatched)
        chosen = a;
    }
    if (chosen != kUnmatched)
      pairing.Pair(b, chosen);
  }
}

// Objects moved unchanged: of several equal ones, the nearest.
void PairByContent(const std::vector<Primitive>& before, const std::vector<Primitive>& after,
                   Pairing& pairing) {
  std::unordered_map<std::string, std::vector<std::size_t>> afterWith;
  for (std::size_t a = 0; a < after.size(); ++a) {
    if (pairing.ofAfter[a] == kUnmatched)
      afterWith[after[a].key].push_back(a);
  }
  for (std::size_t b = 0; b < before.size(); ++b) {
    if (pairing.ofBefore[b] != kUnmatched)
      continue;
    const auto it = afterWith.find(before[b].key);
    if (it == afterWith.end())
      continue;
    std::size_t chosen = kUnmatched;
    for (const std::size_t a : it->second) {
      if (pairing.ofAfter[a] == kUnmatched &&
          (chosen == kUnmatched || SquaredDistance(before[b].position, after[a].position) <
                                       SquaredDistance(before[b].position, after[chosen].position)))
        chosen = a;
    }
    if (chosen != kUnmatched)
      pairing.Pair(b, chosen);
  }
}

// Sources and sinks moved and changed: a port name that only one object on each side has.
void PairByName(const std::vector<Primitive>& before, const std::vector<Primitive>& after,
                Pairing& pairing) {
  std::map<std::string, std::vector<std::size_t>> beforeNamed;
  std::map<std::string, std::vector<std::size_t>> afterNamed;
  for (std::size_t b = 0; b < before.size(); ++b) {
    if (pairing.ofBefore[b] == kUnmatched && !before[b].name.empty())
      beforeNamed[before[b].name].push_back(b);
  }
  for (std::size_t a = 0; a < after.size(); ++a) {
    if (pairing.ofAfter[a] == kUnmatched && !after[a].name.empty())
      afterNamed[after[a].name].push_back(a);
  }
  for (const auto& [name, befores] : beforeNamed) {
    const auto it = afterNamed.find(name);
    if (befores.size() == 1 && it != afterNamed.end() && it->second.size() == 1)
      pairing.Pair(befores.front(), it->second.front());
  }
}

ObjectChange PrimitiveChange(ChangeKind change, ObjectKind kind, const Primitive* before,
                             const Primitive* after) {
  ObjectChange result;
  result.change = change;
  result.ids.kind = kind;
  if (before != nullptr) {
    result.ids.before = before->id;
    result.positionBefore = before->position;
  }
  if (after != nullptr) {
    result.ids.after = after->id;
    result.positionAfter = after->position;
  }
  return result;
}

// The changes of the matched objects; also records the matching old ID -> new ID.
struct ObjectDiff {
  std::vector<ObjectChange> removed;
  std::vector<ObjectChange> others;
  std::map<int, int> afterOf;
  std::map<int, int> beforeOf;
};

void DiffKind(ObjectKind kind, const Module& beforeModule, const Module& afterModule,
              ObjectDiff& diff) {
  const std::vector<Primitive> before = PrimitivesOf(beforeModule, kind);
  const std::vector<Primitive> after = PrimitivesOf(afterModule, kind);
  Pairing pairing(before.size(), after.size());
  PairByPosition(before, after, pairing);
  PairByContent(before, after, pairing);
  PairByName(before, after, pairing);
  for (std::size_t b = 0; b < before.size(); ++b) {
    if (pairing.ofBefore[b] == kUnmatched)
      diff.removed.push_back(PrimitiveChange(ChangeKind::kRemoved, kind, &before[b], nullptr));
  }
  for (std::size_t a = 0; a < after.size(); ++a) {
    const std::size_t b = pairing.ofAfter[a];
    if (b == kUnmatched) {
      diff.others.push_back(PrimitiveChange(ChangeKind::kAdded, kind, nullptr, &after[a]));
      continue;
    }
    diff.afterOf[before[b].id] = after[a].id;
    diff.beforeOf[after[a].id] = before[b].id;
    std::vector<FieldChange> fields = Differences(before[b].fields, after[a].fields);
    const bool moved = before[b].position != after[a].position;
    if (fields.empty() && !moved)
      continue;
    ObjectChange change = PrimitiveChange(
        fields.empty() ? ChangeKind::kMoved : ChangeKind::kChanged, kind, &before[b], &after[a]);
    if (!fields.empty() && moved) {
      fields.insert(fields.begin(), FieldChange{"position", PointText(before[b].position),
                                                PointText(after[a].position), false});
    }
    change.fields = std::move(fields);
    diff.others.push_back(std::move(change));
  }
}

std::optional<int> Lookup(const std::map<int, int>& map, int id) {
  const auto it = map.find(id);
  return it == map.end() ? std::nullopt : std::optional<int>(it->second);
}

ObjectIds EndIds(int id, bool inBefore, const Module& module, const ObjectDiff& objects) {
  ObjectIds ids;
  ids.kind = module.KindOf(id);
  if (inBefore) {
    ids.before = id;
    ids.after = Lookup(objects.afterOf, id);
  } else {
    ids.before = Lookup(objects.beforeOf, id);
    ids.after = id;
  }
  return ids;
}

ObjectChange ArcChange(ChangeKind change, const Arc& arc, bool inBefore, const Module& module,
                       const ObjectDiff& objects) {
  ObjectChange result;
  result.change = change;
  result.ids.kind = kArcChangeKind;
  result.from = EndIds(arc.from, inBefore, module, objects);
  result.to = EndIds(arc.to, inBefore, module, objects);
  result.arcName = FileText(arc.name);
  return result;
}

std::vector<ObjectChange> DiffArcs(const Module& before, const Module& after,
                                   const ObjectDiff& objects) {
  // The arcs of `after` by their ends, each list in arc ID order.
  std::map<std::pair<int, int>, std::vector<int>> afterBetween;
  for (const auto& [id, arc] : after.arcs)
    afterBetween[{arc.from, arc.to}].push_back(id);
  std::map<int, int> afterOf;
  std::map<int, int> beforeOf;
  // Between the same ends, arcs equal in name and bends pair first, then those equal in name,
  // then the rest in order.
  const auto pass = [&](auto&& alike) {
    for (const auto& [id, arc] : before.arcs) {
      const std::optional<int> from = Lookup(objects.afterOf, arc.from);
      const std::optional<int> to = Lookup(objects.afterOf, arc.to);
      if (afterOf.contains(id) || !from || !to)
        continue;
      const auto candidates = afterBetween.find({*from, *to});
      if (candidates == afterBetween.end())
        continue;
      for (const int candidate : candidates->second) {
        if (!beforeOf.contains(candidate) && alike(arc, after.arcs.at(candidate))) {
          afterOf[id] = candidate;
          beforeOf[candidate] = id;
          break;
        }
      }
    }
  };
  pass([](const Arc& a, const Arc& b) { return a.name == b.name && a.bends == b.bends; });
  pass([](const Arc& a, const Arc& b) { return a.name == b.name; });
  pass([](const Arc&, const Arc&) { return true; });

  std::vector<ObjectChange> changes;
  for (const auto& [id, arc] : before.arcs) {
    if (!afterOf.contains(id)) {
      ObjectChange change = ArcChange(ChangeKind::kRemoved, arc, true, before, objects);
      change.ids.before = id;
      changes.push_back(std::move(change));
    }
  }
  for (const auto& [id, arc] : after.arcs) {
    const auto matched = beforeOf.find(id);
    if (matched == beforeOf.end()) {
      ObjectChange change = ArcChange(ChangeKind::kAdded, arc, false, after, objects);
      change.ids.after = id;
      changes.push_back(std::move(change));
      continue;
    }
    std::vector<FieldChange> fields =
        Differences(FieldsOf(before.arcs.at(matched->second)), FieldsOf(arc));
    if (fields.empty())
      continue;
    ObjectChange change = ArcChange(ChangeKind::kChanged, arc, false, after, objects);
    change.ids.before = matched->second;
    change.ids.after = id;
    change.fields = std::move(fields);
    changes.push_back(std::move(change));
  }
  return changes;
}

}  // namespace

std::vector<ObjectChange> DiffModules(const Module& before, const Module& after) {
  ObjectDiff objects;
  for (const ObjectKind kind : kFileOrder)
    DiffKind(kind, before, after, objects);
  const auto byId = [](const std::optional<int> ObjectIds::*side) {
    return
        [side](const ObjectChange& a, const ObjectChange& b) { return a.ids.*side < b.ids.*side; };
  };
  std::sort(objects.removed.begin(), objects.removed.end(), byId(&ObjectIds::before));
  std::sort(objects.others.begin(), objects.others.end(), byId(&ObjectIds::after));
  std::vector<ObjectChange> changes = std::move(objects.removed);
  changes.insert(changes.end(), objects.others.begin(), objects.others.end());
  std::vector<ObjectChange> arcs = DiffArcs(before, after, objects);
  changes.insert(changes.end(), arcs.begin(), arcs.end());
  return changes;
}

}  // namespace pelkor
