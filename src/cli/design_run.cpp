// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/design_run.h"

#include "cli/exit_status.h"
#include "cli/open_design.h"

namespace pelkor::cli {

int OpenAndCheck(Workspace& workspace, const std::filesystem::path& design, std::ostream& err) {
  if (const int status = OpenDesign(workspace, design, err); status != kExitOk)
    return status;
  workspace.Check();
  if (workspace.IsSimulating())
    return kExitOk;
  err << "pelkor-cli: " << design.string() << ": the check failed\n";
  return kExitDesignFailed;
}

int CheckedRun::Status() const {
  if (stepFailed)
    return kExitDesignFailed;
  return sinkFailed ? kExitSinkFailed : kExitOk;
}

CheckedRun RunChecked(Workspace& workspace, std::int64_t maxSteps, ReportReceiver& report,
                      const StepObserver& observe, bool explain) {
  const RuntimeInstance& root = workspace.library().rootInstance();
  const Simulation& simulation = workspace.simulation();
  // The check leaves every sink empty.
  SinkArrivals arrivals;
  if (observe)
    observe(0, false);
  workspace.SetStepLimit(maxSteps);
  const RunOutcome outcome =
      workspace.RunWithoutAnimation([&](std::int64_t steps, StepActivity activity) {
        arrivals.Sample(simulation, steps);
        if (observe)
          observe(steps, activity != 0);
        return true;
      });
  CheckedRun run;
  run.stepFailed = outcome.end == RunEnd::kFailed;
  report.Begin(outcome.steps, outcome.end == RunEnd::kIdle);
  if (const auto& hit = workspace.session().breakpointHit();
      hit && outcome.end == RunEnd::kBreakpoint) {
    report.Stopped({hit->path, hit->breakpoint.objectId,
                    ObjectLabel(hit->kind, hit->breakpoint.objectId),
                    EventText(hit->breakpoint.event, hit->breakpoint.state), hit->step});
  }
  run.sinkFailed = ReportSinks(simulation, root, arrivals, report);
  if (explain)
    report.Blocked(FindStopReasons(simulation, root));
  report.End();
  return run;
}

}  // namespace pelkor::cli
