// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/render_command.h"

#include "cli/cli_session.h"
#include "cli/exit_status.h"
#include "cli/open_design.h"
#include "cli/save_report.h"
#include "files/safe_write.h"
#include "view/picture_view.h"
#include "view/scene.h"
#include "view/svg_writer.h"

namespace pelkor::cli {

int RenderCommand(const RenderOptions& options, std::ostream& out, std::ostream& err) {
  CliSession session(out, options.quiet);
  if (const int status = OpenDesign(session.workspace, options.design, err); status != kExitOk)
    return status;
  const Module& module = session.workspace.library().currentModule();
  if (PictureIsCut(module, options.zoomLevel)) {
    err << "pelkor-cli: " << options.design.string() << ": the picture is cut at "
        << kMaxPictureSide << " pixels a side; a higher --zoom shows all of it\n";
  }
  Frame frame;
  PaintScene(module, PictureView(module, options.zoomLevel), StyleFromSettings(Settings{}), nullptr,
             {}, frame, nullptr);
  return ReportSave(WriteFileSafely(options.output, SvgFromDrawList(frame.picture)), options.output,
                    err)
             ? kExitOk
             : kExitCannotWrite;
}

}  // namespace pelkor::cli
