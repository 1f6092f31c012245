// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "cli/cli_session.h"
#include "cli/serve_log.h"
#include "cli/serve_protocol.h"
#include "cli/sink_arrivals.h"
#include "workspace/workspace.h"

namespace pelkor::cli {

// One script's session of `pelkor-cli serve`: a workspace driven by requests, one JSON line in,
// one JSON line out (docs/protocol.md). Every failure, of the request or of the command it runs,
// ends in an error reply and the session goes on; the log lines are kept for the `log` request.
class ServeSession {
 public:
  ServeSession();
  ServeSession(const ServeSession&) = delete;
  ServeSession& operator=(const ServeSession&) = delete;

  // The reply to one request line, without its line end.
  std::string Handle(std::string_view line);
  // A `close` request was answered: the session takes no more.
  bool closed() const { return closed_; }

  // The commands, each answering its arguments with a result or throwing ServeError.
  using Handler = nlohmann::ordered_json (ServeSession::*)(const nlohmann::json& args);
  struct Command {
    std::string_view name;
    Handler handler;  // nullptr: not yet available in this version
  };

 private:
  nlohmann::ordered_json Version(const nlohmann::json& args);
  nlohmann::ordered_json Open(const nlohmann::json& args);
  nlohmann::ordered_json Check(const nlohmann::json& args);
  nlohmann::ordered_json Step(const nlohmann::json& args);
  nlohmann::ordered_json Run(const nlohmann::json& args);
  nlohmann::ordered_json Back(const nlohmann::json& args);
  nlohmann::ordered_json GoTo(const nlohmann::json& args);
  nlohmann::ordered_json State(const nlohmann::json& args);
  nlohmann::ordered_json SetSource(const nlohmann::json& args);
  nlohmann::ordered_json Expect(const nlohmann::json& args);
  nlohmann::ordered_json Log(const nlohmann::json& args);
  nlohmann::ordered_json Render(const nlohmann::json& args);
  nlohmann::ordered_json Export(const nlohmann::json& args);
  nlohmann::ordered_json Close(const nlohmann::json& args);

  static const Command kCommands[];

  // Throws "not_simulating" unless a checked simulation runs.
  void RequireSimulation() const;
  // After each step: when the sinks' values arrived.
  void Stepped();
  // To step `step`, back or forward.
  nlohmann::ordered_json MoveTo(std::int64_t step);
  // The live node at the "path" argument, or the root without one; throws "not_found".
  const RuntimeInstance& LiveNodeAt(const Arguments& arguments) const;
  // Shows the node at the "path" argument, or the root without one, as picking it in the module
  // tree window does; throws "not_found".
  void ShowNode(const Arguments& arguments);

  HeadlessUi ui_;
  Workspace workspace_{ui_};
  ServeLog log_;
  std::int64_t steps_ = 0;  // since the check
  SinkArrivals arrivals_{SinkArrivals::EverySink{}};
  bool closed_ = false;
};

}  // namespace pelkor::cli
