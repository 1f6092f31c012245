// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the design-file reader the way opening a file does (decoding,
// line ends, records) and writes back what was read. The reader must end in a module and a
// report, never in a crash, a hang or a broken module; and what it read, once saved, must read
// again to the same records with nothing passed over.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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

// Problems come in file order (the one that tells of no records at all last, for the whole
// text), each on lines of the text.
void CheckReport(const pelkor::ReadReport& report, std::string_view text) {
  const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  int before = 1;
  for (const pelkor::ReadProblem& problem : report.problems) {
    const bool wholeText = problem.kind == pelkor::ReadProblem::Kind::kNoRecords;
    if (wholeText ? &problem != &report.problems.back() : problem.firstLine < before)
      __builtin_trap();
    if (problem.lastLine < problem.firstLine || problem.lastLine > lines)
      __builtin_trap();
    before = problem.firstLine;
  }
}

std::size_t TextFailures(const pelkor::ReadReport& report) {
  return std::count_if(report.problems.begin(), report.problems.end(), [](const auto& problem) {
    return problem.kind == pelkor::ReadProblem::Kind::kTextFailure;
  });
}

// Decodes file bytes as opening a design file does.
std::string Opened(std::string_view bytes) {
  return pelkor::ToLfLineEnds(pelkor::DecodeText(bytes).text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = Opened(std::string_view(reinterpret_cast<const char*>(data), size));
  pelkor::Module module;
  const pelkor::ReadReport report = pelkor::ReadModule(text, module);
  CheckModule(module);
  CheckReport(report, text);

  // Saved and opened again: the same records, nothing passed over; only a text that failed to
  // regenerate the first time may fail again (unless a later record took its number).
  const std::string written = pelkor::WriteModule(module);
  const std::string reopened = Opened(pelkor::EncodeText(written).bytes);
  pelkor::Module again;
  const pelkor::ReadReport second = pelkor::ReadModule(reopened, again);
  CheckModule(again);
  if (second.PassedOver() || TextFailures(second) > TextFailures(report))
    __builtin_trap();
  if (pelkor::WriteModule(again) != written)
    __builtin_trap();
  return 0;
}
