// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/run_command.h"

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <memory>

#include "cli/break_target.h"
#include "cli/cli_session.h"
#include "cli/design_run.h"
#include "cli/exit_status.h"
#include "cli/trace_writer.h"
#include "workspace/waveform/vcd_writer.h"

namespace pelkor::cli {

namespace {

// Shows the step count on a terminal once a run has taken more than a second.
class ProgressDisplay {
 public:
  explicit ProgressDisplay(std::ostream& err) : err_(err), enabled_(isatty(STDERR_FILENO) != 0) {}
  ~ProgressDisplay() {
    if (shown_)
      err_ << '\n';
  }

  void Update(std::int64_t steps) {
    if (!enabled_ || steps % 1024 != 0)
      return;
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < std::chrono::seconds(1) ||
        now - lastShown_ < std::chrono::milliseconds(200)) {
      return;
    }
    lastShown_ = now;
    shown_ = true;
    err_ << "\rpelkor-cli: step " << steps << std::flush;
  }

 private:
  std::ostream& err_;
  bool enabled_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point lastShown_;
};

// Writes the VCD file and the GTKWave save file beside it; the path that could not be written,
// if any.
std::optional<std::filesystem::path> WriteWaveforms(const std::filesystem::path& vcdPath,
                                                    const VcdRecorder& vcd) {
  std::ofstream vcdFile(vcdPath, std::ios::binary);
  WriteVcd(vcdFile, vcd.wires());
  vcdFile.close();
  if (!vcdFile)
    return vcdPath;
  const std::filesystem::path gtkwPath = std::filesystem::path(vcdPath).replace_extension(".gtkw");
  std::ofstream gtkwFile(gtkwPath, std::ios::binary);
  WriteGtkw(gtkwFile, std::filesystem::absolute(vcdPath), vcd.wires());
  gtkwFile.close();
  if (!gtkwFile)
    return gtkwPath;
  return std::nullopt;
}

}  // namespace

int CheckCommand(const std::filesystem::path& design, bool quiet, std::ostream& out,
                 std::ostream& err) {
  CliSession session(out, quiet);
  return OpenAndCheck(session.workspace, design, err);
}

int RunCommand(const RunOptions& options, std::ostream& out, std::ostream& err) {
  CliSession session(out, options.quiet);
  Workspace& workspace = session.workspace;
  if (const int status = OpenAndCheck(workspace, options.design, err); status != kExitOk) {
    return status;
  }
  std::ofstream traceFile;
  std::optional<TraceWriter> trace;
  if (options.trace) {
    traceFile.open(*options.trace, std::ios::binary);
    if (!traceFile) {
      err << "pelkor-cli: cannot create " << options.trace->string() << '\n';
      return kExitCannotWrite;
    }
    trace.emplace(traceFile);
  }
  std::optional<VcdRecorder> vcd;
  if (options.vcd)
    vcd.emplace();
  workspace.SetStopAtMismatch(options.stopAtMismatch);
  BreakpointList breakpoints;
  for (const std::string& target : options.breaks) {
    auto resolved = ResolveBreakTarget(target, workspace.library());
    if (const auto* why = std::get_if<std::string>(&resolved)) {
      err << "pelkor-cli: --break " << target << ": " << *why << '\n';
      return kExitUsage;
    }
    breakpoints.Add(std::get<Breakpoint>(resolved));
  }
  workspace.SetBreakpoints(std::move(breakpoints));

  const RuntimeInstance& root = workspace.library().rootInstance();
  const Simulation& simulation = workspace.simulation();
  ProgressDisplay progress(err);
  std::unique_ptr<ReportReceiver> report;
  if (options.report == ReportFormat::kJson) {
    report = std::make_unique<JsonReportWriter>(out);
  } else {
    report = std::make_unique<TextReportWriter>(out);
  }
  const CheckedRun run = RunChecked(
      workspace, options.maxSteps, *report,
      [&](std::int64_t step, bool active) {
        if (trace)
          trace->Write(simulation, root, step, active);
        if (vcd)
          vcd->Sample(simulation, root, step);
        progress.Update(step);
      },
      options.explain);

  if (vcd) {
    if (const std::optional<std::filesystem::path> failed = WriteWaveforms(*options.vcd, *vcd)) {
      err << "pelkor-cli: cannot write " << failed->string() << '\n';
      return kExitCannotWrite;
    }
  }
  if (trace && !traceFile.flush()) {
    err << "pelkor-cli: cannot write " << options.trace->string() << '\n';
    return kExitCannotWrite;
  }
  if (run.stepFailed)
    err << "pelkor-cli: " << options.design.string() << ": the simulation stopped on a failure\n";
  return run.Status();
}

}  // namespace pelkor::cli
