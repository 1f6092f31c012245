#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "model/runtime_instance.h"
#include "sim/simulation.h"

namespace pelkor::cli {

// Records a run as waveforms and writes them as a Value Change Dump: one scope per node path,
// one wire per register exit cell (z when empty), per sink (the value it took in that step,
// x otherwise) and per source (the value it emitted, x otherwise); one time unit per step.
// Signals of nodes created while running are declared too; they read x while a node has no
// working copy.
class VcdRecorder {
 public:
  // Samples every live node after step `step` (0: right after the check).
  void Sample(const Simulation& simulation, const RuntimeInstance& root, std::int64_t step);
  void Write(std::ostream& out) const;

 private:
  struct Signal {
    std::string path;  // the node path, "top/5"
    std::string name;  // "reg3", "sink7", "src2"
    std::vector<std::pair<std::int64_t, char>> changes;
    char value = 'x';
  };
  // What a sink had received and a source had emitted at the previous sample.
  struct Counts {
    std::size_t received = 0;
    std::size_t emitted = 0;
  };

  Signal& SignalFor(const std::string& path, const std::string& name);
  void Set(Signal& signal, std::int64_t step, char value);

  std::vector<Signal> signals_;
  std::map<std::string, std::size_t> index_;  // path + "/" + name -> signal
  std::map<std::string, Counts> counts_;      // path + "/" + name -> counts
};

}  // namespace pelkor::cli
