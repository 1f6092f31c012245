// SPDX-License-Identifier: GPL-3.0-or-later
// The waveforms, the live verdicts and the stop at a sink's first mismatch, around the steps
// of the simulation.
#include <sstream>

#include "files/safe_write.h"
#include "workspace/simulation_session.h"
#include "workspace/waveform/live_nodes.h"

namespace pelkor {

namespace {

const RuntimeInstance* FindTreeItem(const RuntimeInstance& node, TreeItem item) {
  if (node.treeItem == item)
    return &node;
  for (const auto& [number, child] : node.children) {
    if (const RuntimeInstance* found = FindTreeItem(*child, item))
      return found;
  }
  return nullptr;
}

}  // namespace

void SimulationSession::StartRecording() {
  stepsSinceCheck_ = 0;
  stoppedAtMismatch_ = false;
  breakpointsChanged_ = true;
  history_.Clear();
  sinkWatch_.Clear();
  const RuntimeInstance& root = library_.rootInstance();
  if (recordHistory_) {
    history_.Watch(simulation_, root, NodePath(library_.currentInstance()));
    history_.Sample(simulation_, root, 0);
  }
  sinkWatch_.Sample(simulation_, root, 0);
}

bool SimulationSession::RecordStep() {
  ++stepsSinceCheck_;
  stoppedAtMismatch_ = false;
  const RuntimeInstance& root = library_.rootInstance();
  if (recordHistory_)
    history_.Sample(simulation_, root, stepsSinceCheck_);
  const std::optional<SinkDeparture> departure =
      sinkWatch_.Sample(simulation_, root, stepsSinceCheck_);
  const bool running = runMode_ != Tool::kNone;
  if (!departure || !stopAtMismatch_ || !running)
    return true;
  log_.Write("%sがステップ%lldで期待と異なる値を受け取りました",
             SinkLogLabel(departure->path, departure->sinkId, departure->name),
             static_cast<long long>(departure->step));
  stoppedAtMismatch_ = true;
  Pause();
  return false;
}

bool SimulationSession::WatchTreeItem(TreeItem item) {
  const RuntimeInstance& root = library_.rootInstance();
  const RuntimeInstance* node = FindTreeItem(root, item);
  return simulating_ && node != nullptr && history_.Watch(simulation_, root, NodePath(*node));
}

bool SimulationSession::SaveWaveforms(const std::filesystem::path& path) {
  std::ostringstream vcd;
  WriteVcd(vcd, history_.VcdSignals());
  if (WriteFileSafely(path, vcd.str()) == SaveResult::kSaved)
    return true;
  log_.Write("%sに書き込めませんでした", path.string());
  return false;
}

}  // namespace pelkor
