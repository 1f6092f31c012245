// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/breakpoint_watch.h"

#include "workspace/waveform/live_nodes.h"

namespace pelkor {

namespace {

bool ValuesLeft(const std::optional<SourceRunState>& source) {
  return source && !source->holdValue && source->emitted < source->queue.size();
}

}  // namespace

std::string BreakpointHit::Place() const {
  return path + ' ' + ObjectLabel(kind, breakpoint.objectId);
}

void BreakpointWatch::Arm(Simulation& simulation, const RuntimeInstance& root,
                          const BreakpointList& list) {
  watched_.clear();
  std::vector<RegisterOfNode> exits;
  if (list.AnyEnabled()) {
    ForEachLiveNode(simulation, root, [&](const LiveNode& live) {
      const Module& module = simulation.ModuleOf(live.node);
      for (const Breakpoint& breakpoint : list.items()) {
        if (!breakpoint.enabled || breakpoint.module != live.node.name ||
            (breakpoint.path && *breakpoint.path != live.path)) {
          continue;
        }
        const ObjectKind kind = module.KindOf(breakpoint.objectId);
        if (!EventFits(breakpoint.event, kind))
          continue;
        watched_.push_back({&live.node, live.path, kind, breakpoint});
        if (kind == kShiftRegisterKind)
          exits.push_back({&live.node, breakpoint.objectId});
      }
    });
  }
  simulation.WatchExits(exits);
}

void BreakpointWatch::Disarm(Simulation& simulation) {
  watched_.clear();
  simulation.WatchExits({});
}

void BreakpointWatch::BeforeStep(const Simulation& simulation) {
  for (Watched& watched : watched_) {
    const int id = watched.breakpoint.objectId;
    switch (watched.kind) {
      case kStateMachineKind: {
        const auto machine = simulation.Machine(*watched.node, id);
        watched.ready = machine && machine->ready;
        break;
      }
      case kCounterKind: {
        const auto counter = simulation.Counter(*watched.node, id);
        watched.ready = counter && counter->ready;
        break;
      }
      case kSinkKind:
        watched.received = simulation.Received(*watched.node, id).size();
        break;
      case kSourceKind:
        watched.valuesLeft = ValuesLeft(simulation.Source(*watched.node, id));
        break;
      default:
        break;
    }
  }
}

// A machine or counter found ready at the end of the last step fires in this one unless its
// node was deleted first, which leaves it without state.
bool BreakpointWatch::Met(const Simulation& simulation, const Watched& watched) const {
  const RuntimeInstance& node = *watched.node;
  const Breakpoint& breakpoint = watched.breakpoint;
  const int id = breakpoint.objectId;
  switch (breakpoint.event) {
    case BreakEvent::kToken:
      return simulation.ExitReached(node, id);
    case BreakEvent::kFire:
      if (watched.kind == kCounterKind)
        return watched.ready && simulation.Counter(node, id).has_value();
      return watched.ready && simulation.Machine(node, id).has_value();
    case BreakEvent::kState: {
      const auto machine = simulation.Machine(node, id);
      return watched.ready && machine && machine->currentNumber == breakpoint.state;
    }
    case BreakEvent::kReceive:
    case BreakEvent::kReceive0:
    case BreakEvent::kReceive1: {
      const auto received = simulation.Received(node, id);
      if (received.size() <= watched.received)
        return false;
      if (breakpoint.event == BreakEvent::kReceive)
        return true;
      const std::uint8_t wanted = breakpoint.event == BreakEvent::kReceive1 ? 1 : 0;
      for (std::size_t k = watched.received; k < received.size(); ++k) {
        if (received[k] == wanted)
          return true;
      }
      return false;
    }
    case BreakEvent::kEmpty: {
      const auto source = simulation.Source(node, id);
      return watched.valuesLeft && source && !ValuesLeft(source);
    }
  }
  return false;
}

std::optional<BreakpointHit> BreakpointWatch::AfterStep(const Simulation& simulation,
                                                        std::int64_t step) const {
  for (const Watched& watched : watched_) {
    if (Met(simulation, watched))
      return BreakpointHit{watched.breakpoint, watched.node, watched.path, watched.kind, step};
  }
  return std::nullopt;
}

}  // namespace pelkor
