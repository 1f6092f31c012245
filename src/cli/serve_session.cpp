// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/serve_session.h"

#include <algorithm>
#include <climits>
#include <limits>
#include <new>

#include "cli/serve_protocol.h"
#include "cli/serve_state.h"
#include "cli/trace_writer.h"
#include "view/picture_view.h"
#include "view/svg_writer.h"
#include "workspace/waveform/live_nodes.h"

namespace pelkor::cli {

namespace {

constexpr std::int64_t kMostSteps = std::numeric_limits<std::int64_t>::max();
// What `run` runs without "n": the step limit of pelkor-cli run.
constexpr std::int64_t kRunSteps = 1'000'000;

const char* RunEndName(RunEnd end) {
  switch (end) {
    case RunEnd::kIdle:
      return "idle";
    case RunEnd::kStepLimit:
      return "step_limit";
    case RunEnd::kMismatch:
      return "mismatch";
    case RunEnd::kBreakpoint:
      return "breakpoint";
    case RunEnd::kCancelled:
    case RunEnd::kFailed:
    case RunEnd::kNotSimulating:
      break;
  }
  return "stopped";
}

// A command's failure, told by the log lines it wrote; a failure that wrote none (which no
// command is known to do) still says what failed.
ServeError CommandFailed(const std::string& code, const std::string& lines) {
  return ServeError(code, lines.empty() ? "failed without writing a message" : lines);
}

// A path for the file commands: a NUL would cut it short and name another file.
std::string FileArgument(const Arguments& arguments) {
  std::string file = arguments.RequiredString("file");
  if (file.empty() || file.find('\0') != std::string::npos)
    throw ServeError("invalid_argument", "file: a path without NUL characters");
  return file;
}

// The ID of the node's source or sink that the "id" or the "name" argument gives.
template <typename Record>
int PrimitiveId(const std::map<int, Record>& records, const Arguments& arguments, const char* kind,
                const std::string& path) {
  if (arguments.Has("id") == arguments.Has("name"))
    throw ServeError("invalid_argument", std::string("give the ") + kind + "'s id or its name");
  if (const std::optional<std::int64_t> id = arguments.Integer("id", 1, INT_MAX)) {
    if (records.contains(static_cast<int>(*id)))
      return static_cast<int>(*id);
    throw ServeError("not_found", path + " has no " + kind + " " + std::to_string(*id));
  }
  const std::string name = arguments.RequiredString("name");
  std::vector<int> named;
  for (const auto& [id, record] : records) {
    if (record.name == name)
      named.push_back(id);
  }
  if (named.empty())
    throw ServeError("not_found", path + " has no " + kind + " named " + name);
  if (named.size() > 1) {
    throw ServeError("ambiguous", path + " has " + std::to_string(named.size()) + " " + kind +
                                      "s named " + name + ": give the id");
  }
  return named.front();
}

// Bits as a sink that shows hexadecimal values holds its expectation: a digit for four bits,
// the most significant first.
std::string HexDigits(const std::string& bits) {
  if (bits.size() % 4 != 0) {
    throw ServeError("invalid_argument",
                     "values: the sink shows hexadecimal values, so a multiple of 4 bits");
  }
  std::string digits;
  for (std::size_t i = 0; i < bits.size(); i += 4)
    digits += "0123456789ABCDEF"[std::stoi(bits.substr(i, 4), nullptr, 2)];
  return digits;
}

}  // namespace

// Commands that need a debugger this version does not have answer "unsupported".
const ServeSession::Command ServeSession::kCommands[] = {
    {"version", &ServeSession::Version},
    {"open", &ServeSession::Open},
    {"check", &ServeSession::Check},
    {"step", &ServeSession::Step},
    {"run", &ServeSession::Run},
    {"back", &ServeSession::Back},
    {"goto", &ServeSession::GoTo},
    {"state", &ServeSession::State},
    {"set_source", &ServeSession::SetSource},
    {"expect", &ServeSession::Expect},
    {"break", nullptr},
    {"unbreak", nullptr},
    {"explain", nullptr},
    {"log", &ServeSession::Log},
    {"render", &ServeSession::Render},
    {"export", &ServeSession::Export},
    {"close", &ServeSession::Close},
};

ServeSession::ServeSession() {
  workspace_.SetRecordHistory(false);
  workspace_.AttachLog(&log_);
}

std::string ServeSession::Handle(std::string_view line) {
  nlohmann::json id;
  try {
    const Request request = ParseRequest(line, id);
    const auto command =
        std::find_if(std::begin(kCommands), std::end(kCommands),
                     [&](const Command& known) { return known.name == request.command; });
    if (command == std::end(kCommands))
      throw ServeError("unknown_command", "unknown command: " + request.command);
    if (command->handler == nullptr) {
      throw ServeError("unsupported", request.command + " is not yet available in this version");
    }
    return OkReply(id, (this->*command->handler)(request.args));
  } catch (const ServeError& e) {
    return ErrorReply(id, e.code(), e.what());
  } catch (const std::bad_alloc&) {
    return ErrorReply(id, "internal_error", "out of memory");
  } catch (const std::exception& e) {
    return ErrorReply(id, "internal_error", e.what());
  }
}

void ServeSession::RequireSimulation() const {
  if (!workspace_.IsSimulating())
    throw ServeError("not_simulating", "no design is checked: send check first");
}

void ServeSession::Stepped() {
  ++steps_;
  arrivals_.Sample(workspace_.simulation(), steps_);
}

const RuntimeInstance& ServeSession::LiveNodeAt(const Arguments& arguments) const {
  const RuntimeInstance& root = workspace_.library().rootInstance();
  const std::string path = arguments.String("path").value_or(root.name);
  const RuntimeInstance* node = FindNode(root, path);
  if (node == nullptr || !workspace_.simulation().HasState(*node))
    throw ServeError("not_found", "no node runs at " + path);
  return *node;
}

void ServeSession::ShowNode(const Arguments& arguments) {
  const RuntimeInstance& root = workspace_.library().rootInstance();
  const std::string path = arguments.String("path").value_or(root.name);
  const RuntimeInstance* node = FindNode(root, path);
  if (node != nullptr)
    workspace_.GoToTreeItem(node->treeItem);
  // A node deleted while running cannot be shown.
  if (node == nullptr || &workspace_.library().currentInstance() != node)
    throw ServeError("not_found", "no node to show at " + path);
}

nlohmann::ordered_json ServeSession::Version(const nlohmann::json& args) {
  Arguments(args, {});
  return {{"protocol", kProtocolVersion}, {"program", "pelkor-cli"}, {"version", PELKOR_VERSION}};
}

nlohmann::ordered_json ServeSession::Open(const nlohmann::json& args) {
  const std::string file = FileArgument(Arguments(args, {"file"}));
  // A design can only be opened once the one running has ended.
  workspace_.EndSimulation();
  const std::size_t mark = log_.written();
  switch (workspace_.OpenFile(file)) {
    case OpenResult::kOpened:
      break;
    case OpenResult::kCannotOpen:
      throw CommandFailed("open_failed", log_.Lines(mark));
    case OpenResult::kLoadFailed:
      throw CommandFailed("load_failed", log_.Lines(mark));
  }
  return {{"module", workspace_.library().rootInstance().name}};
}

nlohmann::ordered_json ServeSession::Check(const nlohmann::json& args) {
  Arguments(args, {});
  // Checking again starts the simulation afresh.
  workspace_.EndSimulation();
  const std::size_t mark = log_.written();
  workspace_.Check();
  if (!workspace_.IsSimulating())
    throw CommandFailed("check_failed", log_.Lines(mark));
  steps_ = 0;
  arrivals_ = SinkArrivals(SinkArrivals::EverySink{});
  return {{"step", steps_}};
}

nlohmann::ordered_json ServeSession::Step(const nlohmann::json& args) {
  const std::int64_t n = Arguments(args, {"n"}).Integer("n", 1, kMostSteps).value_or(1);
  RequireSimulation();
  for (std::int64_t i = 0; i < n; ++i) {
    const std::size_t mark = log_.written();
    const bool completed = workspace_.Step();
    Stepped();
    if (!completed)
      throw CommandFailed("step_failed", log_.Lines(mark));
  }
  return {{"step", steps_}, {"active", workspace_.stepActivity() != 0}};
}

nlohmann::ordered_json ServeSession::Run(const nlohmann::json& args) {
  const Arguments arguments(args, {"n", "stop_at_mismatch"});
  const std::int64_t n = arguments.Integer("n", 1, kMostSteps).value_or(kRunSteps);
  const bool stopAtMismatch = arguments.Boolean("stop_at_mismatch").value_or(false);
  RequireSimulation();
  workspace_.SetStopAtMismatch(stopAtMismatch);
  workspace_.SetStepLimit(n);
  // A run writes one line before its first step; the lines of each step follow.
  std::size_t stepStart = log_.written() + 1;
  std::size_t lastStepStart = stepStart;
  const RunOutcome outcome = workspace_.RunWithoutAnimation([&](std::int64_t, StepActivity) {
    Stepped();
    lastStepStart = stepStart;
    stepStart = log_.written();
    return true;
  });
  if (outcome.end == RunEnd::kFailed)
    throw CommandFailed("step_failed", log_.Lines(lastStepStart, stepStart));
  return {{"step", steps_}, {"steps", outcome.steps}, {"end", RunEndName(outcome.end)}};
}

nlohmann::ordered_json ServeSession::Back(const nlohmann::json& args) {
  const std::int64_t n = Arguments(args, {"n"}).Integer("n", 1, kMostSteps).value_or(1);
  RequireSimulation();
  return MoveTo(std::max<std::int64_t>(0, steps_ - n));
}

nlohmann::ordered_json ServeSession::GoTo(const nlohmann::json& args) {
  const std::optional<std::int64_t> step = Arguments(args, {"step"}).Integer("step", 0, kMostSteps);
  if (!step)
    throw ServeError("invalid_argument", "step: missing");
  RequireSimulation();
  return MoveTo(*step);
}

nlohmann::ordered_json ServeSession::MoveTo(std::int64_t step) {
  if (step > steps_)
    return Step({{"n", step - steps_}});
  workspace_.GoToStep(step);
  steps_ = step;
  arrivals_.CutAfter(step);
  return {{"step", steps_}, {"active", workspace_.stepActivity() != 0}};
}

nlohmann::ordered_json ServeSession::State(const nlohmann::json& args) {
  const Arguments arguments(args, {"path"});
  RequireSimulation();
  nlohmann::ordered_json nodes = nlohmann::ordered_json::array();
  if (arguments.Has("path")) {
    const RuntimeInstance& node = LiveNodeAt(arguments);
    nodes.push_back(NodeState(workspace_, LiveNode{node, NodePath(node)}, arrivals_));
  } else {
    ForEachLiveNode(
        workspace_.simulation(), workspace_.library().rootInstance(),
        [&](const LiveNode& live) { nodes.push_back(NodeState(workspace_, live, arrivals_)); });
  }
  return {{"step", steps_}, {"nodes", std::move(nodes)}};
}

nlohmann::ordered_json ServeSession::SetSource(const nlohmann::json& args) {
  const Arguments arguments(args, {"path", "id", "name", "values", "append"});
  const std::string bits = arguments.RequiredBits("values");
  const bool append = arguments.Boolean("append").value_or(false);
  RequireSimulation();
  const RuntimeInstance& node = LiveNodeAt(arguments);
  const std::string path = NodePath(node);
  const int id =
      PrimitiveId(workspace_.library().ModuleByName(node.name).sources, arguments, "source", path);
  const Simulation& simulation = workspace_.simulation();
  std::vector<std::uint8_t> values;
  if (append) {
    const SourceRunState left = simulation.Source(node, id).value_or(SourceRunState{});
    values.assign(left.queue.begin() + static_cast<std::ptrdiff_t>(left.emitted), left.queue.end());
  }
  for (const char bit : bits)
    values.push_back(static_cast<std::uint8_t>(bit - '0'));
  if (!workspace_.ReplaceSourceValues(node, id, std::move(values)))
    throw ServeError("not_found", path + " has no running source " + std::to_string(id));
  const SourceRunState now = *simulation.Source(node, id);
  return {{"path", path}, {"id", id}, {"remaining", TokensText(now.queue.subspan(now.emitted))}};
}

nlohmann::ordered_json ServeSession::Expect(const nlohmann::json& args) {
  const Arguments arguments(args, {"path", "id", "name", "values"});
  const std::string bits = arguments.RequiredBits("values");
  RequireSimulation();
  const RuntimeInstance& node = LiveNodeAt(arguments);
  const std::string path = NodePath(node);
  const Module& design = workspace_.library().ModuleByName(node.name);
  const int id = PrimitiveId(design.sinks, arguments, "sink", path);
  const std::string text = design.sinks.at(id).hexDisplay ? HexDigits(bits) : bits;
  if (!workspace_.SetSinkExpected(node.name, id, text))
    throw ServeError("not_found", path + " has no sink " + std::to_string(id));
  return NodeState(workspace_, LiveNode{node, path}, arrivals_)["sinks"][std::to_string(id)];
}

nlohmann::ordered_json ServeSession::Log(const nlohmann::json& args) {
  Arguments(args, {});
  std::size_t dropped = 0;
  const std::vector<std::string> lines = log_.Take(dropped);
  return {{"lines", lines}, {"dropped", dropped}};
}

nlohmann::ordered_json ServeSession::Render(const nlohmann::json& args) {
  const Arguments arguments(args, {"path", "zoom"});
  const int zoom = static_cast<int>(arguments.Integer("zoom", 0, 5).value_or(0));
  ShowNode(arguments);
  const RuntimeInstance& node = workspace_.library().currentInstance();
  return {{"path", NodePath(node)},
          {"module", node.name},
          {"cut", PictureIsCut(workspace_.library().currentModule(), zoom)},
          {"svg", SvgFromDrawList(workspace_.PictureDrawing(zoom))}};
}

nlohmann::ordered_json ServeSession::Export(const nlohmann::json& args) {
  const Arguments arguments(args, {"file", "path"});
  const std::string file = FileArgument(arguments);
  ShowNode(arguments);
  const std::size_t mark = log_.written();
  if (workspace_.ExportBspTo(file).result != ExportResult::kExported)
    throw CommandFailed("export_failed", log_.Lines(mark));
  const RuntimeInstance& node = workspace_.library().currentInstance();
  return {{"file", file}, {"path", NodePath(node)}, {"module", node.name}};
}

nlohmann::ordered_json ServeSession::Close(const nlohmann::json& args) {
  Arguments(args, {});
  workspace_.EndSimulation();
  closed_ = true;
  return nlohmann::ordered_json::object();
}

}  // namespace pelkor::cli
