#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/runtime_instance.h"
#include "model/sink_verification.h"
#include "sim/simulation.h"

namespace pelkor::cli {

// What one sink of a live node received, what it expects, and the verdict.
struct SinkReport {
  std::string path;
  int id = 0;
  std::string name;
  std::string received;  // in arrival order
  std::string expected;  // the expected bit sequence
  SinkVerdict verdict = SinkVerdict::kNone;
};

struct RunReport {
  std::int64_t steps = 0;
  bool idle = false;  // the run ended because the net went idle
  std::vector<SinkReport> sinks;

  bool AnySinkFailed() const;
};

// Every sink of every live node, depth first from the root in ascending instance number.
std::vector<SinkReport> CollectSinkReports(const Simulation& simulation,
                                           const RuntimeInstance& root);

nlohmann::ordered_json ToJson(const RunReport& report);
void WriteText(std::ostream& out, const RunReport& report);

}  // namespace pelkor::cli
