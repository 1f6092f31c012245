// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/waveform/sink_watch.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "model/sink_verification.h"
#include "workspace/waveform/live_nodes.h"
#include "workspace/waveform/run_signals.h"

namespace pelkor {

namespace {

// Where a node comes in a depth-first walk in ascending instance number: the instance numbers
// from the root down (a parent's numbers are a prefix of its children's).
std::vector<int> TreeOrder(const RuntimeInstance& node) {
  std::vector<int> numbers;
  for (const RuntimeInstance* at = &node; at->parent != nullptr; at = at->parent)
    numbers.push_back(at->instanceNumber);
  std::reverse(numbers.begin(), numbers.end());
  return numbers;
}

}  // namespace

std::optional<SinkDeparture> SinkWatch::Look(const Simulation& simulation,
                                             const RuntimeInstance& node, const std::string& path,
                                             int sinkId, const SinkTransition& sink,
                                             std::int64_t step) {
  const auto [it, added] = sinks_[path].try_emplace(sinkId);
  Watched& watched = it->second;
  // A script may change what a sink expects while the simulation runs.
  if (added || watched.expectedText != sink.expected) {
    watched.expected = ExpectedArrivals(sink);
    watched.expectedText = sink.expected;
  }
  const RunningNode running{simulation, node};
  const Arrivals arrivals = NewArrivals(running, sinkId, watched.seen);
  if (!FirstDeparture(running, sinkId, arrivals, watched.expected))
    return std::nullopt;
  return SinkDeparture{path, sinkId, sink.name, step};
}

std::optional<SinkDeparture> SinkWatch::Sample(const Simulation& simulation,
                                               const RuntimeInstance& root, std::int64_t step) {
  std::optional<SinkDeparture> departure;
  if (step == 0) {
    ForEachLiveNode(simulation, root, [&](const LiveNode& live) {
      for (const auto& [id, sink] : simulation.ModuleOf(live.node).sinks) {
        if (!ExpectsValues(sink))
          continue;
        const auto found = Look(simulation, live.node, live.path, id, sink, step);
        if (!departure)
          departure = found;
      }
    });
    return departure;
  }
  // After the check only the sinks the step changed can take a value: a step costs what moved,
  // not the size of the design.
  std::vector<int> departureOrder;
  for (std::size_t k = 0; k < simulation.ChangedSinkCount(); ++k) {
    const auto [node, sinkId] = simulation.ChangedSink(k);
    const SinkTransition& sink = simulation.ModuleOf(*node).sinks.at(sinkId);
    if (!ExpectsValues(sink))
      continue;
    const auto found = Look(simulation, *node, NodePath(*node), sinkId, sink, step);
    if (!found)
      continue;
    std::vector<int> order = TreeOrder(*node);
    if (!departure ||
        std::tie(order, found->sinkId) < std::tie(departureOrder, departure->sinkId)) {
      departure = found;
      departureOrder = std::move(order);
    }
  }
  return departure;
}

std::string SinkLogLabel(const std::string& path, int sinkId, const std::string& name) {
  std::string label = path + "のケムマキ" + std::to_string(sinkId);
  if (!name.empty())
    label += "<" + name + ">";
  return label;
}

std::string VerdictSummary(const Simulation& simulation, const RuntimeInstance& root) {
  int passed = 0;
  std::vector<std::string> failed;
  ForEachLiveNode(simulation, root, [&](const LiveNode& live) {
    for (const auto& [id, sink] : simulation.ModuleOf(live.node).sinks) {
      const SinkVerdict verdict = Verify(sink, Received(simulation, live, id));
      if (verdict == SinkVerdict::kPass)
        ++passed;
      else if (verdict == SinkVerdict::kFail)
        failed.push_back(SinkLogLabel(live.path, id, sink.name));
    }
  });
  if (passed == 0 && failed.empty())
    return "";
  std::string summary =
      "照合結果: 合格" + std::to_string(passed) + " 不合格" + std::to_string(failed.size());
  for (std::size_t i = 0; i < failed.size(); ++i)
    summary += (i == 0 ? " (" : "、") + failed[i];
  if (!failed.empty())
    summary += ")";
  return summary;
}

}  // namespace pelkor
