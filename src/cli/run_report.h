// SPDX-License-Identifier: GPL-3.0-or-later
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
#include "workspace/stop_reasons.h"
#include "workspace/waveform/live_nodes.h"

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

// The breakpoint a run paused at, and the step.
struct BreakpointStop {
  std::string path;
  int id = 0;
  std::string object;  // as the check names it, "シフトレジスタ3"
  std::string event;   // as --break writes it
  std::int64_t step = 0;
};

struct RunReport {
  std::int64_t steps = 0;
  bool idle = false;  // the run ended because the net went idle
  std::optional<BreakpointStop> breakpoint;
  std::vector<SinkReport> sinks;
};

// Takes a run's report piece by piece: how the run ended, then every sink in order, then the
// end. A large design's sink reports are never all held at once unless the receiver keeps them.
class ReportReceiver {
 public:
  virtual ~ReportReceiver() = default;
  virtual void Begin(std::int64_t steps, bool idle) = 0;
  // Right after Begin when the run paused at a breakpoint.
  virtual void Stopped(const BreakpointStop& /*stop*/) {}
  virtual void Add(SinkReport&& sink) = 0;
  // After the sinks, when the run is to say why it stopped: every blocked object.
  virtual void Blocked(const std::vector<StopReason>& /*reasons*/) {}
  virtual void End() {}
};

// Keeps the whole report.
class ReportCollector : public ReportReceiver {
 public:
  void Begin(std::int64_t steps, bool idle) override;
  void Stopped(const BreakpointStop& stop) override { report.breakpoint = stop; }
  void Add(SinkReport&& sink) override { report.sinks.push_back(std::move(sink)); }

  RunReport report;
};

// Writes the report as it comes: a line for the run and one for each sink.
class TextReportWriter : public ReportReceiver {
 public:
  explicit TextReportWriter(std::ostream& out) : out_(out) {}
  void Begin(std::int64_t steps, bool idle) override;
  void Stopped(const BreakpointStop& stop) override;
  void Add(SinkReport&& sink) override;
  // A line for each: "blocked: " and its log line, then its code in brackets.
  void Blocked(const std::vector<StopReason>& reasons) override;

 private:
  std::ostream& out_;
};

// Writes the report as it comes, as one line of JSON: {"steps", "idle", "breakpoint" (after a
// stop at one: {"path", "id", "object", "event", "step"}), "sinks": [...]}, and "blocked": [...]
// when the run says why it stopped.
class JsonReportWriter : public ReportReceiver {
 public:
  explicit JsonReportWriter(std::ostream& out) : out_(out) {}
  void Begin(std::int64_t steps, bool idle) override;
  void Stopped(const BreakpointStop& stop) override;
  void Add(SinkReport&& sink) override;
  void Blocked(const std::vector<StopReason>& reasons) override;
  void End() override;

 private:
  // Ends the sinks' array, an empty one when no sink came; once.
  void CloseSinks();

  std::ostream& out_;
  bool first_ = true;
  bool sinksClosed_ = false;
};

// Every sink of every live node, depth first from the root in ascending instance number, with
// the step of its first mismatch; returns whether any sink failed its expectation.
bool ReportSinks(const Simulation& simulation, const RuntimeInstance& root,
                 const SinkArrivals& arrivals, ReportReceiver& receiver);
// The same for the sinks of one live node, in ascending ID.
bool ReportNodeSinks(const Simulation& simulation, const LiveNode& live,
                     const SinkArrivals& arrivals, ReportReceiver& receiver);

// A sink as the JSON report writes it: {"path", "id", "name", "received", "expected", "verdict",
// "firstMismatchStep"}.
nlohmann::ordered_json SinkJson(const SinkReport& sink);

// A blocked object as the JSON report writes it: {"path", "id", "kind", "code", "reason"}.
nlohmann::ordered_json BlockedJson(const StopReason& reason);

// `path sink ID "name"`, as the text report names a sink.
std::string SinkLabel(const SinkReport& sink);

// For a failing sink, "first mismatch at step N" or, when too few values came, "only N of M
// values arrived"; empty otherwise.
std::string MismatchText(const SinkReport& sink);

// For a failing sink, "received BITS, expected BITS, " and the mismatch text.
std::string FailureText(const SinkReport& sink);

}  // namespace pelkor::cli
