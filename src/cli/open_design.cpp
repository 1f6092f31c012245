// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/open_design.h"

#include "cli/exit_status.h"

namespace pelkor::cli {

int OpenDesign(Workspace& workspace, const std::filesystem::path& design, std::ostream& err) {
  switch (workspace.OpenFile(design)) {
    case OpenResult::kOpened:
      return kExitOk;
    case OpenResult::kCannotOpen:
      err << "pelkor-cli: cannot open " << design.string() << '\n';
      return kExitNoInput;
    case OpenResult::kLoadFailed:
      break;
  }
  err << "pelkor-cli: " << design.string() << ": the design could not be loaded completely\n";
  return kExitDesignFailed;
}

}  // namespace pelkor::cli
