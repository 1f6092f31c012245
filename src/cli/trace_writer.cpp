// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/trace_writer.h"

namespace pelkor::cli {

std::string TokensText(std::span<const std::uint8_t> values) {
  std::string text;
  for (const std::uint8_t value : values)
    text += TokenText(value);
  return text;
}

nlohmann::ordered_json NodeTrace(const Simulation& simulation, const LiveNode& live) {
  const RuntimeInstance& node = live.node;
  const Module& net = simulation.ModuleOf(node);
  nlohmann::ordered_json registers = nlohmann::ordered_json::object();
  for (const auto& [id, shiftRegister] : net.shiftRegisters)
    registers[std::to_string(id)] = TokensText(simulation.Cells(node, id));
  nlohmann::ordered_json counters = nlohmann::ordered_json::object();
  for (const auto& [id, counter] : net.counters) {
    const CounterRunState state = simulation.Counter(node, id).value_or(CounterRunState{});
    counters[std::to_string(id)] = {{"remaining", state.remaining}, {"ready", state.ready}};
  }
  nlohmann::ordered_json machines = nlohmann::ordered_json::object();
  for (const auto& [id, machine] : net.stateMachines) {
    const MachineRunState state = simulation.Machine(node, id).value_or(MachineRunState{});
    machines[std::to_string(id)] = {{"state", state.currentNumber}, {"ready", state.ready}};
  }
  nlohmann::ordered_json sources = nlohmann::ordered_json::object();
  for (const auto& [id, source] : net.sources) {
    const SourceRunState state = simulation.Source(node, id).value_or(SourceRunState{});
    sources[std::to_string(id)] = TokensText(state.queue.subspan(state.emitted));
  }
  nlohmann::ordered_json sinks = nlohmann::ordered_json::object();
  for (const auto& [id, sink] : net.sinks)
    sinks[std::to_string(id)] = TokensText(simulation.Received(node, id));
  return {{"path", live.path},    {"deleted", live.node.deleted}, {"registers", registers},
          {"counters", counters}, {"machines", machines},         {"sources", sources},
          {"sinks", sinks}};
}

nlohmann::ordered_json TraceLine(const Simulation& simulation, const RuntimeInstance& root,
                                 std::int64_t step, bool active) {
  nlohmann::ordered_json nodes = nlohmann::ordered_json::array();
  ForEachLiveNode(simulation, root,
                  [&](const LiveNode& live) { nodes.push_back(NodeTrace(simulation, live)); });
  return {{"step", step}, {"active", active}, {"nodes", nodes}};
}

void TraceWriter::Write(const Simulation& simulation, const RuntimeInstance& root,
                        std::int64_t step, bool active) {
  out_ << TraceLine(simulation, root, step, active)
              .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
       << '\n';
}

}  // namespace pelkor::cli
