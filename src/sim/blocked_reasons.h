// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "model/module.h"
#include "sim/blocked_object.h"
#include "sim/engine.h"

namespace pelkor {

// Every object of a node with run-time state that holds or waits for tokens and that the next
// step would not move, in ascending ID, each judged on the state as it stands by the rule of
// the phase that would move it. `design` is the node's module, for what sinks expect.
std::vector<BlockedObject> ExplainNode(const Engine& engine, const Engine::NodeRecord& node,
                                       const Module& design);

}  // namespace pelkor
