// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "model/runtime_instance.h"
#include "workspace/waveform/run_signals.h"

namespace pelkor {

// One wire of a Value Change Dump: its node path ("top/5"), its name ("reg3") and its changes
// as (time, value) in time order, the value '0', '1', 'z' or 'x'.
struct VcdSignal {
  std::string path;
  std::string name;
  std::vector<std::pair<std::int64_t, char>> changes;
};

// The VCD value of a signal: registers read z when their exit cell is empty, sinks and sources
// x when they took or emitted nothing; every signal reads x while its node has no state.
char VcdValue(SignalKind kind, std::uint8_t value);

// Writes the signals as a Value Change Dump, one scope per node path in tree order, one time
// unit per step; every signal reads x until its first change.
void WriteVcd(std::ostream& out, const std::vector<VcdSignal>& wires);

// Writes a GTKWave save file that opens `vcdFile` with every signal shown, in one group per
// node path.
void WriteGtkw(std::ostream& out, const std::filesystem::path& vcdFile,
               const std::vector<VcdSignal>& wires);

// Records a run as waveforms: one wire per register exit, sink and source of every live node.
// Signals of nodes created while running are declared too; they read x while a node has no
// working copy.
class VcdRecorder {
 public:
  // Samples every live node after step `step` (0: right after the check).
  void Sample(const Simulation& simulation, const RuntimeInstance& root, std::int64_t step);
  const std::vector<VcdSignal>& wires() const { return signals_; }

 private:
  struct Recorded {
    SignalKind kind;
    char value = 'x';
    std::size_t seen = 0;  // what its sink took or its source emitted so far
  };

  std::vector<VcdSignal> signals_;
  std::vector<Recorded> recorded_;            // beside signals_
  std::map<std::string, std::size_t> index_;  // path + "/" + name -> signal
};

}  // namespace pelkor
