// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/module.h"

#include <climits>
#include <utility>

#include "base/errors.h"

namespace pelkor {

Module::Module(const Module& other)
    : nextObjectId(other.nextObjectId),
      nextArcId(other.nextArcId),
      shiftRegisters(other.shiftRegisters),
      stateMachines(other.stateMachines),
      counters(other.counters),
      instances(other.instances),
      arcs(other.arcs),
      arcsInto(other.arcsInto),
      arcsOutOf(other.arcsOutOf),
      sources(other.sources),
      sinks(other.sinks),
      kinds(other.kinds),
      pasteOrigin(other.pasteOrigin),
      revision_(other.revision_) {}

Module& Module::operator=(const Module& other) {
  if (this != &other) {
    nextObjectId = other.nextObjectId;
    nextArcId = other.nextArcId;
    revision_ = other.revision_;
    AssignMapsFrom(other);
    pasteOrigin = other.pasteOrigin;
  }
  return *this;
}

void Module::AssignMapsFrom(const Module& other) {
  shiftRegisters = other.shiftRegisters;
  stateMachines = other.stateMachines;
  counters = other.counters;
  instances = other.instances;
  arcs = other.arcs;
  arcsInto = other.arcsInto;
  arcsOutOf = other.arcsOutOf;
  sources = other.sources;
  sinks = other.sinks;
  kinds = other.kinds;
}

bool Module::SameContent(const Module& other) const {
  return shiftRegisters == other.shiftRegisters && stateMachines == other.stateMachines &&
         counters == other.counters && instances == other.instances && arcs == other.arcs &&
         arcsInto == other.arcsInto && arcsOutOf == other.arcsOutOf && sources == other.sources &&
         sinks == other.sinks && kinds == other.kinds && pasteOrigin == other.pasteOrigin;
}

template <typename Record>
int Module::AddPrimitive(std::map<int, Record>& map, ObjectKind kind, const Record& record,
                         Point offset) {
  const int id = nextObjectId;
  if (kinds.contains(id))  // only the largest int, read from a file, can be taken
    throw MessageError(kNoObjectIdLeft);
  Record& stored = map.emplace(id, record).first->second;
  stored.position = stored.position + offset;
  kinds[id] = kind;
  if (nextObjectId < INT_MAX)
    ++nextObjectId;
  return id;
}

int Module::AddShiftRegister(const ShiftRegister& r, Point offset) {
  return AddPrimitive(shiftRegisters, kShiftRegisterKind, r, offset);
}
int Module::AddStateMachine(const StateMachine& m, Point offset) {
  return AddPrimitive(stateMachines, kStateMachineKind, m, offset);
}
int Module::AddCounter(const Counter& c, Point offset) {
  return AddPrimitive(counters, kCounterKind, c, offset);
}
int Module::AddSource(const SourceTransition& s, Point offset) {
  return AddPrimitive(sources, kSourceKind, s, offset);
}
int Module::AddSink(const SinkTransition& s, Point offset) {
  return AddPrimitive(sinks, kSinkKind, s, offset);
}
int Module::AddInstance(const ModuleInstance& i, Point offset) {
  return AddPrimitive(instances, kInstanceKind, i, offset);
}

int Module::AddArc(int from, int to, const std::vector<Point>& bends, const std::string& name) {
  const int id = nextArcId;
  arcsInto.emplace(to, id);
  arcsOutOf.emplace(from, id);
  arcs.insert_or_assign(id, Arc{from, to, bends, name});
  return ++nextArcId;
}

void Module::RemoveArcsOf(int id) {
  pelkor::RemoveArcsOf(arcs, arcsInto, arcsOutOf, id);
}

std::size_t Module::PrimitiveCount() const {
  return stateMachines.size() + shiftRegisters.size() + counters.size() + instances.size() +
         sources.size() + sinks.size();
}

bool Module::HasRoomFor(std::size_t count) const {
  const long long left =
      static_cast<long long>(INT_MAX) - nextObjectId + (kinds.contains(INT_MAX) ? 0 : 1);
  return static_cast<long long>(count) <= left;
}

bool Module::HasNewSource() const {
  for (const auto& [id, source] : sources) {
    if (source.name == "new")
      return true;
  }
  return false;
}

std::set<std::string> Module::SourceNames() const {
  std::set<std::string> names;
  for (const auto& [id, source] : sources) {
    if (!source.name.empty())
      names.insert(source.name);
  }
  return names;
}

void Module::ShrinkTables() {
  arcsInto.ShrinkToFit();
  arcsOutOf.ShrinkToFit();
  kinds.ShrinkToFit();
}

ObjectKind Module::KindOf(int id) const {
  auto it = kinds.find(id);
  return it == kinds.end() ? kNoKind : it->second;
}

namespace {

// Finds a primitive of any kind and applies `get` to it; nullptr when no map holds the ID.
template <typename ModuleT, typename Get>
auto FindPrimitiveField(ModuleT& module, int id, Get get)
    -> decltype(get(module.counters.begin()->second)) {
  if (auto it = module.shiftRegisters.find(id); it != module.shiftRegisters.end())
    return get(it->second);
  if (auto it = module.stateMachines.find(id); it != module.stateMachines.end())
    return get(it->second);
  if (auto it = module.counters.find(id); it != module.counters.end())
    return get(it->second);
  if (auto it = module.sources.find(id); it != module.sources.end())
    return get(it->second);
  if (auto it = module.sinks.find(id); it != module.sinks.end())
    return get(it->second);
  if (auto it = module.instances.find(id); it != module.instances.end())
    return get(it->second);
  return nullptr;
}

}  // namespace

Point* Module::PositionOf(int id) {
  return FindPrimitiveField(*this, id, [](auto& r) { return &r.position; });
}

const Point* Module::PositionOf(int id) const {
  return FindPrimitiveField(*this, id, [](const auto& r) { return &r.position; });
}

}  // namespace pelkor
