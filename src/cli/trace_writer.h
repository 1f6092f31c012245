// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>

#include <nlohmann/json.hpp>

#include "model/runtime_instance.h"
#include "sim/simulation.h"
#include "workspace/waveform/live_nodes.h"

namespace pelkor::cli {

// The state of every live node after a step, as one JSON object:
// {"step":N,"active":BOOL,"nodes":[{"path":..,"deleted":..,"registers":{"ID":"-01"},
//  "counters":{"ID":{"remaining":N,"ready":B}},"machines":{"ID":{"state":N,"ready":B}},
//  "sources":{"ID":"0101"},"sinks":{"ID":"011"}}]}
nlohmann::ordered_json TraceLine(const Simulation& simulation, const RuntimeInstance& root,
                                 std::int64_t step, bool active);

// Token values as a trace writes them: "0", "1" or "-" each (TokenText).
std::string TokensText(std::span<const std::uint8_t> values);

// One node's part of a trace line: {"path":..,"deleted":..,"registers":..,...}.
nlohmann::ordered_json NodeTrace(const Simulation& simulation, const LiveNode& live);

// Writes one trace line per call, as JSON Lines.
class TraceWriter {
 public:
  explicit TraceWriter(std::ostream& out) : out_(out) {}
  void Write(const Simulation& simulation, const RuntimeInstance& root, std::int64_t step,
             bool active);

 private:
  std::ostream& out_;
};

}  // namespace pelkor::cli
