// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the design-file reader the way opening a file does (decoding,
// line ends, records) and writes back what was read. The reader must end in a module or a
// message, never in a crash, a hang or a broken module.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/errors.h"
#include "files/design_file.h"
#include "model/model_invariants.h"

namespace {

// What callers of the reader rely on: the model's invariants, and no kind entry left without
// its primitive (only deleting a selection leaves such entries, never reading).
void CheckModule(const pelkor::Module& m) {
  if (!pelkor::ModuleInvariantViolation(m).empty())
    __builtin_trap();
  if (m.kinds.size() != m.PrimitiveCount())
    __builtin_trap();
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
