#include "cli/run_report.h"

#include <algorithm>

#include "workspace/waveform/live_nodes.h"

namespace pelkor::cli {

namespace {

std::string BitText(const std::vector<int>& values) {
  std::string text;
  for (const int value : values)
    text += TokenText(value);
  return text;
}

}  // namespace

bool RunReport::AnySinkFailed() const {
  return std::any_of(sinks.begin(), sinks.end(),
                     [](const SinkReport& sink) { return sink.verdict == SinkVerdict::kFail; });
}

std::vector<SinkReport> CollectSinkReports(const Simulation& simulation,
                                           const RuntimeInstance& root,
                                           const SinkArrivals& arrivals) {
  // Counted first: a large design has a report for each of its many boundary sinks.
  std::size_t count = 0;
  ForEachLiveNode(simulation, root,
                  [&count](const LiveNode& live) { count += live.node.net->sinks.size(); });
  std::vector<SinkReport> reports;
  reports.reserve(count);
  ForEachLiveNode(simulation, root, [&](const LiveNode& live) {
    for (const auto& [id, sink] : live.node.net->sinks) {
      const std::vector<int> received = Received(simulation, live, id);
      SinkReport report;
      report.path = live.path;
      report.id = id;
      report.name = sink.name;
      report.received = BitText(received);
      report.expected = BitText(ExpectedBits(sink));
      report.verdict = Verify(sink, received);
      report.mismatch = FirstMismatch(sink, received);
      const std::vector<std::int64_t>& steps = arrivals.Steps(live.path, id);
      if (report.mismatch && *report.mismatch < steps.size())
        report.mismatchStep = steps[*report.mismatch];
      reports.push_back(std::move(report));
    }
  });
  return reports;
}

std::string SinkLabel(const SinkReport& sink) {
  std::string label = sink.path + " sink " + std::to_string(sink.id);
  if (!sink.name.empty())
    label += " \"" + sink.name + '"';
  return label;
}

std::string MismatchText(const SinkReport& sink) {
  if (!sink.mismatch)
    return "";
  if (sink.mismatchStep)
    return "first mismatch at step " + std::to_string(*sink.mismatchStep);
  return "only " + std::to_string(sink.received.size()) + " of " +
         std::to_string(sink.expected.size()) + " values arrived";
}

std::string FailureText(const SinkReport& sink) {
  return "received " + sink.received + ", expected " + sink.expected + ", " + MismatchText(sink);
}

nlohmann::ordered_json ToJson(const RunReport& report) {
  nlohmann::ordered_json sinks = nlohmann::ordered_json::array();
  for (const SinkReport& sink : report.sinks) {
    sinks.push_back(
        {{"path", sink.path},
         {"id", sink.id},
         {"name", sink.name},
         {"received", sink.received},
         {"expected", sink.expected},
         {"verdict", VerdictName(sink.verdict)},
         {"firstMismatchStep", sink.mismatchStep ? nlohmann::ordered_json(*sink.mismatchStep)
                                                 : nlohmann::ordered_json()}});
  }
  return {{"steps", report.steps}, {"idle", report.idle}, {"sinks", sinks}};
}

void WriteText(std::ostream& out, const RunReport& report) {
  out << report.steps << (report.steps == 1 ? " step" : " steps")
      << (report.idle ? ", idle" : ", not idle") << '\n';
  for (const SinkReport& sink : report.sinks) {
    out << SinkLabel(sink) << ": received "
        << (sink.received.empty() ? "(nothing)" : sink.received);
    if (sink.verdict != SinkVerdict::kNone)
      out << ", expected " << sink.expected;
    out << ": " << VerdictName(sink.verdict);
    if (sink.mismatch)
      out << ", " << MismatchText(sink);
    out << '\n';
  }
}

}  // namespace pelkor::cli
