// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/whole_module.h"

#include <optional>

#include "base/errors.h"
#include "files/input_file.h"

namespace pelkor::cli {

WholeModule ReadWholeModule(const std::filesystem::path& design, std::ostream& err) {
  WholeModule result;
  std::optional<DesignText> file;
  try {
    file = ReadDesignFile(design);
  } catch (const InputRefused& e) {
    err << "pelkor-cli: " << e.what() << '\n';
    result.outcome = ReadOutcome::kCannotOpen;
    return result;
  }
  if (!file) {
    err << "pelkor-cli: cannot open " << design.string() << '\n';
    result.outcome = ReadOutcome::kCannotOpen;
    return result;
  }
  result.encoding = file->encoding;
  result.fingerprint = file->fingerprint;
  result.report = ReadModule(file->text, result.module);
  const ReadReport& report = result.report;
  for (const ReadProblem& problem : report.problems)
    err << "pelkor-cli: " << design.string() << ": " << ReadProblemMessage(problem) << '\n';
  if (report.Failed()) {
    result.outcome = ReadOutcome::kFailed;
  } else if (report.PassedOver()) {
    result.outcome = ReadOutcome::kPassedOver;
  }
  return result;
}

}  // namespace pelkor::cli
