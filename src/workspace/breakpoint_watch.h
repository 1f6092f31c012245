// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/runtime_instance.h"
#include "sim/simulation.h"
#include "workspace/breakpoint_list.h"

namespace pelkor {

// A breakpoint that a step met: in which node, on which object, in which step.
struct BreakpointHit {
  Breakpoint breakpoint;
  const RuntimeInstance* node = nullptr;
  std::string path;
  ObjectKind kind = kNoKind;
  std::int64_t step = 0;

  // "top/5/2 シフトレジスタ3": the node's path and the object as the check names it.
  std::string Place() const;
};

// Watches the objects that the enabled breakpoints name in the live nodes through each step:
// their state before the step is compared with the state after it, and the simulation itself
// watches the register exits. Only those objects are looked at.
class BreakpointWatch {
 public:
  // Picks the objects from the live nodes, depth first from the root in ascending instance
  // number; again whenever the list or the tree changes.
  void Arm(Simulation& simulation, const RuntimeInstance& root, const BreakpointList& list);
  // Watches nothing any more.
  void Disarm(Simulation& simulation);
  bool Watching() const { return !watched_.empty(); }

  // What each object holds before a step.
  void BeforeStep(const Simulation& simulation);
  // The first watched object, in the order Arm picked them, whose breakpoint the step met.
  std::optional<BreakpointHit> AfterStep(const Simulation& simulation, std::int64_t step) const;

 private:
  struct Watched {
    const RuntimeInstance* node = nullptr;
    std::string path;
    ObjectKind kind = kNoKind;
    Breakpoint breakpoint;
    // Before the step: a machine or counter is to fire, how many values a sink holds, whether a
    // source has values left.
    bool ready = false;
    std::size_t received = 0;
    bool valuesLeft = false;
  };
  bool Met(const Simulation& simulation, const Watched& watched) const;

  std::vector<Watched> watched_;
};

}  // namespace pelkor
