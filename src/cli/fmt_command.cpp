// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/fmt_command.h"

#include "cli/exit_status.h"
#include "cli/save_report.h"
#include "cli/whole_module.h"

namespace pelkor::cli {

namespace {

// What writing `target` would lose: a file that is not the one read, or the one read changed
// on disk since; nullopt when nothing is at risk.
std::optional<std::string> RiskOfWriting(const std::filesystem::path& target,
                                         const std::filesystem::path& design,
                                         const WholeModule& read) {
  std::error_code error;
  if (!std::filesystem::exists(target, error) && !error)
    return std::nullopt;
  if (!std::filesystem::equivalent(target, design, error))
    return "a file is there that was not read";
  if (FingerprintOfFile(design) != read.fingerprint)
    return "it changed on disk since it was read";
  return std::nullopt;
}

}  // namespace

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
  if (!options.force) {
    if (const std::optional<std::string> risk = RiskOfWriting(target, options.design, read)) {
      err << "pelkor-cli: " << target.string() << ": not written, " << *risk
          << " (--force writes it anyway)\n";
      return kExitCannotWrite;
    }
  }
  return ReportSave(SaveDesignFile(target, read.module, options.encoding.value_or(read.encoding)),
                    target, err)
             ? kExitOk
             : kExitCannotWrite;
}

}  // namespace pelkor::cli
