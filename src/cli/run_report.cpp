#include "cli/run_report.h"

#include <algorithm>

#include "cli/live_nodes.h"

namespace pelkor::cli {

namespace {

template <typename Values>
std::string BitText(const Values& values) {
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
                                           const RuntimeInstance& root) {
  std::vector<SinkReport> reports;
  ForEachLiveNode(simulation, root, [&](const LiveNode& live) {
    for (const auto& [id, sink] : live.node.net->sinks) {
      const std::span<const std::uint8_t> taken = simulation.Received(live.node, id);
      const std::vector<int> received(taken.begin(), taken.end());
      reports.push_back({live.path, id, sink.name, BitText(received), BitText(ExpectedBits(sink)),
                         Verify(sink, received)});
    }
  });
  return reports;
}

nlohmann::ordered_json ToJson(const RunReport& report) {
  nlohmann::ordered_json sinks = nlohmann::ordered_json::array();
  for (const SinkReport& sink : report.sinks) {
    sinks.push_back({{"path", sink.path},
                     {"id", sink.id},
                     {"name", sink.name},
                     {"received", sink.received},
                     {"expected", sink.expected},
                     {"verdict", VerdictName(sink.verdict)}});
  }
  return {{"steps", report.steps}, {"idle", report.idle}, {"sinks", sinks}};
}

void WriteText(std::ostream& out, const RunReport& report) {
  out << report.steps << (report.steps == 1 ? " step" : " steps")
      << (report.idle ? ", idle" : ", not idle") << '\n';
  for (const SinkReport& sink : report.sinks) {
    out << sink.path << " sink " << sink.id;
    if (!sink.name.empty())
      out << " \"" << sink.name << '"';
    out << ": received " << (sink.received.empty() ? "(nothing)" : sink.received);
    if (sink.verdict != SinkVerdict::kNone)
      out << ", expected " << sink.expected;
    out << ": " << VerdictName(sink.verdict) << '\n';
  }
}

}  // namespace pelkor::cli
