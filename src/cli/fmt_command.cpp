// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/fmt_command.h"

#include "cli/exit_status.h"
#include "cli/save_report.h"
#include "cli/whole_module.h"

namespace pelkor::cli {

int FmtCommand(const FmtOptions& options, std::ostream& /*out*/, std::ostream& err) {
  const WholeModule read = ReadWholeModule(options.design, err);
  switch (read.outcome) {
    case ReadOutcome::kRead:
      break;
    case ReadOutcome::kCannotOpen:
      return kExitNoInput;
    case ReadOutcome::kFailed:
    case ReadOutcome::kPassedOver:
      if (options.force)
        break;
      // Writing back a module not read whole would lose the rest of the file.
      err << "pelkor-cli: " << options.design.string() << ": not rewritten, "
          << (read.report.PassedOver() ? "what was passed over would be lost"
                                       : "it did not load without errors")
          << " (--force writes it anyway)\n";
      return kExitDesignFailed;
  }
  const std::filesystem::path target = options.output.value_or(options.design);
  return ReportSave(SaveDesignFile(target, read.module, options.encoding.value_or(read.encoding)),
                    target, err)
             ? kExitOk
             : kExitCannotWrite;
}

}  // namespace pelkor::cli
