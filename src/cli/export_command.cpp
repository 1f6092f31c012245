// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/export_command.h"

#include "cli/cli_session.h"
#include "cli/exit_status.h"
#include "cli/open_design.h"

namespace pelkor::cli {

int ExportCommand(const std::filesystem::path& design, const std::filesystem::path& output,
                  bool quiet, std::ostream& out, std::ostream& err) {
  CliSession session(out, quiet);
  if (const int status = OpenDesign(session.workspace, design, err); status != kExitOk) {
    return status;
  }
  const ExportOutcome outcome = session.workspace.ExportBspTo(output);
  switch (outcome.result) {
    case ExportResult::kExported:
      return kExitOk;
    case ExportResult::kCannotWrite:
      err << "pelkor-cli: cannot write " << outcome.failedFile.string() << '\n';
      return kExitCannotWrite;
    case ExportResult::kDesignError:
      break;
  }
  err << "pelkor-cli: " << design.string() << ": the module cannot be exported\n";
  return kExitDesignFailed;
}

}  // namespace pelkor::cli
