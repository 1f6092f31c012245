#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/sink_arrivals.h"
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
  // For a failing sink: the index, in arrival order, of the first value that departs from the
  // expectation (FirstMismatch), and the step it arrived in; no step when it never came.
  std::optional<std::size_t> mismatch;
  std::optional<std::int64_t> mismatchStep;
};

struct RunReport {
  std::int64_t steps = 0;
  bool idle = false;  // the run ended because the net went idle
  std::vector<SinkReport> sinks;

  bool AnySinkFailed() const;
};

// Every sink of every live node, depth first from the root in ascending instance number.
std::vector<SinkReport> CollectSinkReports(const Simulation& simulation,
                                           const RuntimeInstance& root,
                                           const SinkArrivals& arrivals);

// `path sink ID "name"`, as the text report names a sink.
std::string SinkLabel(const SinkReport& sink);

// For a failing sink, "first mismatch at step N" or, when too few values came, "only N of M
// values arrived"; empty otherwise.
std::string MismatchText(const SinkReport& sink);

// For a failing sink, "received BITS, expected BITS, " and the mismatch text.
std::string FailureText(const SinkReport& sink);

nlohmann::ordered_json ToJson(const RunReport& report);
void WriteText(std::ostream& out, const RunReport& report);

}  // namespace pelkor::cli
