// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/runtime_instance.h"
#include "sim/simulation.h"

namespace pelkor {

// A node of the instance tree that has run-time state, with its path: the root module's name,
// then "/" and the instance number for each level below it ("top/5/2"). The path is valid
// during the visit only.
struct LiveNode {
  const RuntimeInstance& node;
  const std::string& path;
};

// Visits every node that has run-time state, depth first from the root in ascending instance
// number.
void ForEachLiveNode(const Simulation& simulation, const RuntimeInstance& root,
                     const std::function<void(const LiveNode&)>& visit);

// A node's path, as ForEachLiveNode gives it.
std::string NodePath(const RuntimeInstance& node);

// The node at `path` below `root`; nullptr when there is none.
const RuntimeInstance* FindNode(const RuntimeInstance& root, const std::string& path);

// What sink `sinkId` of a live node received, in arrival order.
std::vector<int> Received(const Simulation& simulation, const LiveNode& live, int sinkId);

// Token values as text: "0" and "1", "-" for an empty cell.
std::string TokenText(int value);

}  // namespace pelkor
