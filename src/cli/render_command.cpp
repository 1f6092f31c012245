// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/render_command.h"

#include "cli/cli_session.h"
#include "cli/design_run.h"
#include "cli/exit_status.h"
#include "cli/open_design.h"
#include "cli/save_report.h"
#include "files/safe_write.h"
#include "view/picture_view.h"
#include "view/svg_writer.h"

namespace pelkor::cli {

namespace {

// Checks the design and runs `steps` steps; kExitOk, or the status of what failed.
int CheckAndStep(Workspace& workspace, const RenderOptions& options, std::ostream& err) {
  if (const int status = OpenAndCheck(workspace, options.design, err); status != kExitOk)
    return status;
  for (std::int64_t step = 1; step <= *options.steps; ++step) {
    workspace.Step();
    // A failed step pauses the run, and the log has said why.
    if (workspace.IsPaused()) {
      err << "pelkor-cli: " << options.design.string() << ": step " << step << " failed\n";
      return kExitDesignFailed;
    }
  }
  return kExitOk;
}

}  // namespace

int RenderCommand(const RenderOptions& options, std::ostream& out, std::ostream& err) {
  CliSession session(out, options.quiet);
  Workspace& workspace = session.workspace;
  int status = kExitOk;
  if (options.steps) {
    status = CheckAndStep(workspace, options, err);
    if (!workspace.IsSimulating())
      return status;
  } else if (status = OpenDesign(workspace, options.design, err); status != kExitOk) {
    return status;
  }
  if (PictureIsCut(workspace.library().currentModule(), options.zoomLevel)) {
    err << "pelkor-cli: " << options.design.string() << ": the picture is cut at "
        << kMaxPictureSide << " pixels a side; a higher --zoom shows all of it\n";
  }
  // The picture printing draws, so that the file shows what a printout would.
  const DrawList picture = workspace.PictureDrawing(options.zoomLevel);
  if (!ReportSave(WriteFileSafely(options.output, SvgFromDrawList(picture)), options.output, err))
    return kExitCannotWrite;
  return status;
}

}  // namespace pelkor::cli
