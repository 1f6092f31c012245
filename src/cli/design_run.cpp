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
  return report.AnySinkFailed() ? kExitSinkFailed : kExitOk;
}

CheckedRun RunChecked(Workspace& workspace, std::int64_t maxSteps, const StepObserver& observe) {
  const RuntimeInstance& root = workspace.library().rootInstance();
  const Simulation& simulation = workspace.simulation();
  SinkArrivals arrivals;
  arrivals.Sample(simulation, root, 0);
  if (observe)
    observe(0, false);
  workspace.SetStepLimit(maxSteps);
  const RunOutcome outcome =
      workspace.RunWithoutAnimation([&](std::int64_t steps, StepActivity activity) {
        arrivals.Sample(simulation, root, steps);
        if (observe)
          observe(steps, activity != 0);
        return true;
      });
  return {
      {outcome.steps, outcome.end == RunEnd::kIdle, CollectSinkReports(simulation, root, arrivals)},
      outcome.end == RunEnd::kFailed};
}

}  // namespace pelkor::cli
