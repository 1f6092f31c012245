// SPDX-License-Identifier: GPL-3.0-or-later
// The breakpoints around the steps of the simulation: the watch armed before a step and the
// pause after a step that met one.
#include "base/errors.h"
#include "workspace/simulation_session.h"

namespace pelkor {

void SimulationSession::SetBreakpoints(BreakpointList breakpoints) {
  breakpoints_ = std::move(breakpoints);
  breakpointsChanged_ = true;
}

void SimulationSession::WatchBreakpoints() {
  breakpointHit_.reset();
  if (breakpointsChanged_) {
    breakpointWatch_.Arm(simulation_, library_.rootInstance(), breakpoints_);
    breakpointsChanged_ = false;
  }
  if (breakpointWatch_.Watching())
    breakpointWatch_.BeforeStep(simulation_);
}

bool SimulationSession::CheckBreakpoints() {
  if (!breakpointWatch_.Watching() || runMode_ == Tool::kNone)
    return true;
  breakpointHit_ = breakpointWatch_.AfterStep(simulation_, stepsSinceCheck_);
  if (!breakpointHit_)
    return true;
  log_.Write("%s ブレークポイント(%s) ステップ%lld", breakpointHit_->Place(),
             EventText(breakpointHit_->breakpoint.event, breakpointHit_->breakpoint.state),
             static_cast<long long>(breakpointHit_->step));
  Pause();
  try {
    library_.GoToTreeItem(breakpointHit_->node->treeItem);
  } catch (const MessageError& e) {
    log_.WriteText(e.what());
  }
  changes_.Changed(Change::kTree | Change::kView | Change::kSelection);
  return false;
}

}  // namespace pelkor
