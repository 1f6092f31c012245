// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/module.h"
#include "model/runtime_instance.h"

namespace pelkor {

// How an engine keeps the nodes it runs, for the walks over the tree that both engines share
// (compile.h, step_parts.h): a prepared node has its module's run-time form, which each engine
// keeps its own way.
class RunNodes : public PreparedNodes {
 public:
  // Prepares `node` to run `module`; writes "エラー来たー" and leaves the node unprepared when
  // memory runs out.
  virtual void Prepare(RuntimeInstance& node, const Module& module) = 0;
  // Takes the run-time form of `node` away, not of the nodes below it.
  virtual void Unprepare(RuntimeInstance& node) = 0;

 protected:
  ~RunNodes() = default;
};

}  // namespace pelkor
