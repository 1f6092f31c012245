// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/run_report.h"

#include "model/module_diff.h"

namespace pelkor::cli {

namespace {

std::string BitText(const std::vector<int>& values) {
  std::string text;
  for (const int value : values)
    text += TokenText(value);
  return text;
}

}  // namespace

void ReportCollector::Begin(std::int64_t steps, bool idle) {
  report.steps = steps;
  report.idle = idle;
}

bool ReportNodeSinks(const Simulation& simulation, const LiveNode& live,
                     const SinkArrivals& arrivals, ReportReceiver& receiver) {
  bool anyFailed = false;
  for (const auto& [id, sink] : simulation.ModuleOf(live.node).sinks) {
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
    anyFailed = anyFailed || report.verdict == SinkVerdict::kFail;
    receiver.Add(std::move(report));
  }
  return anyFailed;
}

bool ReportSinks(const Simulation& simulation, const RuntimeInstance& root,
                 const SinkArrivals& arrivals, ReportReceiver& receiver) {
  bool anyFailed = false;
  ForEachLiveNode(simulation, root, [&](const LiveNode& live) {
    anyFailed = ReportNodeSinks(simulation, live, arrivals, receiver) || anyFailed;
  });
  return anyFailed;
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

void TextReportWriter::Begin(std::int64_t steps, bool idle) {
  out_ << steps << (steps == 1 ? " step" : " steps") << (idle ? ", idle" : ", not idle") << '\n';
}

void TextReportWriter::Stopped(const BreakpointStop& stop) {
  out_ << "breakpoint " << stop.path << ':' << stop.id << ':' << stop.event << " (" << stop.object
       << ") hit at step " << stop.step << '\n';
}

void TextReportWriter::Add(SinkReport&& sink) {
  out_ << SinkLabel(sink) << ": received " << (sink.received.empty() ? "(nothing)" : sink.received);
  if (sink.verdict != SinkVerdict::kNone)
    out_ << ", expected " << sink.expected;
  out_ << ": " << VerdictName(sink.verdict);
  if (sink.mismatch)
    out_ << ", " << MismatchText(sink);
  out_ << '\n';
}

void JsonReportWriter::Begin(std::int64_t steps, bool idle) {
  out_ << R"({"steps":)" << steps << R"(,"idle":)" << (idle ? "true" : "false");
}

void JsonReportWriter::Stopped(const BreakpointStop& stop) {
  const nlohmann::ordered_json json = {{"path", stop.path},
                                       {"id", stop.id},
                                       {"object", stop.object},
                                       {"event", stop.event},
                                       {"step", stop.step}};
  out_ << R"(,"breakpoint":)"
       << json.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

nlohmann::ordered_json SinkJson(const SinkReport& sink) {
  return {{"path", sink.path},
          {"id", sink.id},
          {"name", sink.name},
          {"received", sink.received},
          {"expected", sink.expected},
          {"verdict", VerdictName(sink.verdict)},
          {"firstMismatchStep", sink.mismatchStep ? nlohmann::ordered_json(*sink.mismatchStep)
                                                  : nlohmann::ordered_json()}};
}

void JsonReportWriter::Add(SinkReport&& sink) {
  out_ << (first_ ? R"(,"sinks":[)" : ",");
  first_ = false;
  out_ << SinkJson(sink).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

void TextReportWriter::Blocked(const std::vector<StopReason>& reasons) {
  for (const StopReason& reason : reasons)
    out_ << "blocked: " << StopReasonLine(reason) << " [" << reason.object.code << "]\n";
}

nlohmann::ordered_json BlockedJson(const StopReason& reason) {
  return {{"path", reason.path},
          {"id", reason.object.id},
          {"kind", KindWord(reason.object.kind)},
          {"code", reason.object.code},
          {"reason", reason.object.reason}};
}

void JsonReportWriter::Blocked(const std::vector<StopReason>& reasons) {
  nlohmann::ordered_json blocked = nlohmann::ordered_json::array();
  for (const StopReason& reason : reasons)
    blocked.push_back(BlockedJson(reason));
  CloseSinks();
  out_ << R"(,"blocked":)"
       << blocked.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

void JsonReportWriter::End() {
  CloseSinks();
  out_ << "}\n";
}

void JsonReportWriter::CloseSinks() {
  if (!sinksClosed_)
    out_ << (first_ ? R"(,"sinks":[])" : "]");
  sinksClosed_ = true;
}

}  // namespace pelkor::cli
