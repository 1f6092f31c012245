#include "workspace/waveform/sink_watch.h"

#include "model/sink_verification.h"
#include "workspace/waveform/live_nodes.h"
#include "workspace/waveform/run_signals.h"

namespace pelkor {

std::optional<SinkDeparture> SinkWatch::Sample(const Simulation& simulation,
                                               const RuntimeInstance& root, std::int64_t step) {
  std::optional<SinkDeparture> departure;
  ForEachLiveNode(simulation, root, [&](const LiveNode& live) {
    const RunningNode running{simulation, live.node};
    std::map<int, Watched>* node = nullptr;
    for (const auto& [id, sink] : live.node.net->sinks) {
      if (!ExpectsValues(sink))
        continue;
      if (node == nullptr)
        node = &sinks_[live.path];
      const auto [it, added] = node->try_emplace(id);
      Watched& watched = it->second;
      if (added)
        watched.expected = ExpectedArrivals(sink);
      const Arrivals arrivals = NewArrivals(running, id, watched.seen);
      if (!departure && FirstDeparture(running, id, arrivals, watched.expected))
        departure = SinkDeparture{live.path, id, sink.name, step};
    }
  });
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
    for (const auto& [id, sink] : live.node.net->sinks) {
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
