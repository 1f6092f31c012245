#include "cli/trace_writer.h"

#include "workspace/waveform/live_nodes.h"

namespace pelkor::cli {

namespace {

nlohmann::ordered_json NodeState(const LiveNode& live) {
  const NetRuntime& runtime = live.runtime;
  nlohmann::ordered_json registers = nlohmann::ordered_json::object();
  for (const ShiftRegisterRuntime& shiftRegister : runtime.registers()) {
    std::string cells;
    for (std::size_t i = 0; i < shiftRegister.size(); ++i) {
      cells += TokenText(shiftRegister.Cell(i));
    }
    registers[std::to_string(shiftRegister.id())] = cells;
  }
  nlohmann::ordered_json counters = nlohmann::ordered_json::object();
  for (const CounterRuntime& counter : runtime.counters) {
    counters[std::to_string(counter.id)] = {{"remaining", counter.remaining},
                                            {"ready", counter.ready}};
  }
  nlohmann::ordered_json machines = nlohmann::ordered_json::object();
  for (const StateMachineRuntime& machine : runtime.machines) {
    machines[std::to_string(machine.id)] = {{"state", machine.currentNumber},
                                            {"ready", machine.ready}};
  }
  nlohmann::ordered_json sources = nlohmann::ordered_json::object();
  for (const SourceRuntime& source : runtime.sources) {
    std::string queue;
    for (const auto value : source.RemainingQueue())
      queue += TokenText(value);
    sources[std::to_string(source.id)] = queue;
  }
  nlohmann::ordered_json sinks = nlohmann::ordered_json::object();
  for (const auto& [id, sink] : live.node.net->sinks) {
    std::string received;
    for (const int value : sink.received)
      received += TokenText(value);
    sinks[std::to_string(id)] = received;
  }
  return {{"path", live.path},    {"deleted", live.node.deleted}, {"registers", registers},
          {"counters", counters}, {"machines", machines},         {"sources", sources},
          {"sinks", sinks}};
}

}  // namespace

nlohmann::ordered_json TraceLine(const RuntimeInstance& root, std::int64_t step, bool active) {
  nlohmann::ordered_json nodes = nlohmann::ordered_json::array();
  ForEachLiveNode(root, [&](const LiveNode& live) { nodes.push_back(NodeState(live)); });
  return {{"step", step}, {"active", active}, {"nodes", nodes}};
}

void TraceWriter::Write(const RuntimeInstance& root, std::int64_t step, bool active) {
  out_ << TraceLine(root, step, active)
              .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
       << '\n';
}

}  // namespace pelkor::cli
