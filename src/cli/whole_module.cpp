// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/whole_module.h"

#include <optional>
#include <string>
#include <vector>

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
  std::vector<IgnoredRecord> ignored;
  std::optional<std::string> failure;
  try {
    ReadModule(file->text, result.module, ignored);
  } catch (const MessageError& e) {
    failure = e.what();
  }
  const std::string prefix = "pelkor-cli: " + design.string() + ": ";
  for (const IgnoredRecord& record : ignored)
    err << prefix << IgnoredRecordMessage(record) << '\n';
  if (failure) {
    err << prefix << "ロードに失敗しました" << *failure << '\n';
    result.outcome = ReadOutcome::kFailed;
  } else if (!ignored.empty()) {
    result.outcome = ReadOutcome::kPassedOver;
  }
  return result;
}

}  // namespace pelkor::cli
