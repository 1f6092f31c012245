// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <nlohmann/json.hpp>

#include "cli/sink_arrivals.h"
#include "workspace/waveform/live_nodes.h"
#include "workspace/workspace.h"

namespace pelkor::cli {

// Everything a script reads of one live node after a step: the node's trace (registers,
// counters, machines) with its module's name, each source's name and remaining values and each
// sink as the JSON report shows it, keyed by ID:
// {"path", "module", "deleted", "registers", "counters", "machines",
//  "sources": {"ID": {"name", "remaining"}}, "sinks": {"ID": {...}}}
nlohmann::ordered_json NodeState(const Workspace& workspace, const LiveNode& live,
                                 const SinkArrivals& arrivals);

}  // namespace pelkor::cli
