// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "model/runtime_instance.h"
#include "sim/blocked_object.h"
#include "sim/simulation.h"

namespace pelkor {

// A blocked object (Simulation::Blocked) of a live node, with the node's path ("top/5/2").
struct StopReason {
  std::string path;
  TreeItem node = 0;
  BlockedObject object;
};

// The blocked objects of every live node, depth first from the root in ascending instance
// number, each node's in ascending ID.
std::vector<StopReason> FindStopReasons(const Simulation& simulation, const RuntimeInstance& root);

// The log line of a blocked object: the node's path, a space, the object's kind name and ID,
// then the reason: "top/5 シフトレジスタ3: 出口のトークンをステートマシン2が取りません".
std::string StopReasonLine(const StopReason& reason);

}  // namespace pelkor
