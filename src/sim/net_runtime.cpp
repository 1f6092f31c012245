// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/net_runtime.h"

#include <algorithm>

namespace pelkor {

namespace {

int IdOf(const ShiftRegisterRuntime& record) {
  return record.id();
}
template <typename Record>
int IdOf(const Record& record) {
  return record.id;
}

// The records are in ascending ID order.
template <typename Records>
auto FindById(Records& records, int id) -> decltype(records.data()) {
  auto it = std::lower_bound(records.begin(), records.end(), id,
                             [](const auto& record, int key) { return IdOf(record) < key; });
  return it != records.end() && IdOf(*it) == id ? &*it : nullptr;
}

}  // namespace

NetRuntime::NetRuntime(const Module& net) {
  registers_.reserve(net.shiftRegisters.size());
  for (const auto& [id, shiftRegister] : net.shiftRegisters)
    registers_.emplace_back(id);
}

ShiftRegisterRuntime* NetRuntime::FindRegister(int id) {
  return FindById(registers_, id);
}
const ShiftRegisterRuntime* NetRuntime::FindRegister(int id) const {
  return FindById(registers_, id);
}
const SourceRuntime* NetRuntime::FindSource(int id) const {
  return FindById(sources, id);
}
SinkRuntime* NetRuntime::FindSink(int id) {
  return FindById(sinks, id);
}
const SinkRuntime* NetRuntime::FindSink(int id) const {
  return FindById(sinks, id);
}
const CounterRuntime* NetRuntime::FindCounter(int id) const {
  return FindById(counters, id);
}
const StateMachineRuntime* NetRuntime::FindMachine(int id) const {
  return FindById(machines, id);
}
ModuleInstanceRuntime* NetRuntime::FindInstance(int id) {
  return FindById(instances, id);
}
const ModuleInstanceRuntime* NetRuntime::FindInstance(int id) const {
  return FindById(instances, id);
}

}  // namespace pelkor
