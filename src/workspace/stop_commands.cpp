// SPDX-License-Identifier: GPL-3.0-or-later
// Why a simulation stopped: the blocked objects, written to the log and kept for the view.
#include "workspace/simulation_session.h"

namespace pelkor {

void SimulationSession::WriteStopReasons() {
  stopReasons_ = FindStopReasons(simulation_, library_.rootInstance());
  for (const StopReason& reason : stopReasons_)
    log_.WriteText(StopReasonLine(reason));
  changes_.Changed(Change::kSimulation);
}

void SimulationSession::ExplainStop() {
  if (!simulating_ || timerRunning_)
    return;
  WriteStopReasons();
  if (stopReasons_.empty())
    log_.WriteText("止まっているオブジェクトはありません");
}

}  // namespace pelkor
