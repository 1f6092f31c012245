// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/serve_state.h"

#include "cli/run_report.h"
#include "cli/trace_writer.h"

namespace pelkor::cli {

namespace {

// Keeps each sink's report under its ID.
class SinksById : public ReportReceiver {
 public:
  void Begin(std::int64_t, bool) override {}
  void Add(SinkReport&& sink) override { sinks[std::to_string(sink.id)] = SinkJson(sink); }

  nlohmann::ordered_json sinks = nlohmann::ordered_json::object();
};

// The name of a node's source; the design's, as a running node's module cannot be edited.
std::string SourceName(const ModuleLibrary& library, const std::string& module, int id) {
  if (!library.Exists(module))
    return "";
  const auto& sources = library.ModuleByName(module).sources;
  const auto source = sources.find(id);
  return source == sources.end() ? "" : source->second.name;
}

}  // namespace

nlohmann::ordered_json NodeState(const Workspace& workspace, const LiveNode& live,
                                 const SinkArrivals& arrivals) {
  const Simulation& simulation = workspace.simulation();
  nlohmann::ordered_json trace = NodeTrace(simulation, live);
  nlohmann::ordered_json sources = nlohmann::ordered_json::object();
  for (auto& [id, remaining] : trace["sources"].items()) {
    sources[id] = {{"name", SourceName(workspace.library(), live.node.name, std::stoi(id))},
                   {"remaining", std::move(remaining)}};
  }
  SinksById sinks;
  ReportNodeSinks(simulation, live, arrivals, sinks);

  nlohmann::ordered_json state = {{"path", live.path}, {"module", live.node.name}};
  for (auto& [key, value] : trace.items()) {
    if (key == "sources") {
      state[key] = std::move(sources);
    } else if (key == "sinks") {
      state[key] = std::move(sinks.sinks);
    } else if (key != "path") {
      state[key] = std::move(value);
    }
  }
  return state;
}

}  // namespace pelkor::cli
