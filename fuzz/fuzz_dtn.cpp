// Feeds arbitrary bytes to the design-file reader the way opening a file does (decoding,
// line ends, records) and writes back what was read. The reader must end in a module or a
// message, never in a crash, a hang or a broken module.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "files/design_file.h"
#include "model/errors.h"

namespace {

int MapsHolding(const pelkor::Module& m, int id) {
  return static_cast<int>(m.shiftRegisters.count(id) + m.stateMachines.count(id) +
                          m.counters.count(id) + m.sources.count(id) + m.sinks.count(id) +
                          m.instances.count(id));
}

// What callers of the reader rely on: each ID in exactly one primitive map and in the kind
// index, new IDs above every loaded one, and arc indexes that match the arcs.
void CheckModule(const pelkor::Module& m) {
  for (const auto& [id, kind] : m.kinds) {
    if (MapsHolding(m, id) != 1)
      __builtin_trap();
    if (id >= m.nextObjectId && id != INT32_MAX)
      __builtin_trap();
  }
  if (m.kinds.size() != m.PrimitiveCount())
    __builtin_trap();
  if (m.arcsInto.size() != m.arcs.size() || m.arcsOutOf.size() != m.arcs.size())
    __builtin_trap();
  for (const auto& [to, arcId] : m.arcsInto) {
    if (m.arcs.at(arcId).to != to)
      __builtin_trap();
  }
  for (const auto& [id, machine] : m.stateMachines) {
    if (machine.stateArcsInto.size() != machine.stateArcs.size())
      __builtin_trap();
    if (!machine.states.empty() && machine.nextStateId <= machine.states.rbegin()->first &&
        machine.states.rbegin()->first != INT32_MAX) {
      __builtin_trap();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const pelkor::DecodedText decoded = pelkor::DecodeText(bytes);
  pelkor::Module module;
  try {
    pelkor::ReadModule(pelkor::ToLfLineEnds(decoded.text), module);
  } catch (const pelkor::MessageError&) {
    // A message is a valid outcome; the records read so far must still form a sound module.
  }
  CheckModule(module);
  const std::string written = pelkor::WriteModule(module);
  pelkor::EncodeText(written);
  return 0;
}
