#include "cli/fmt_command.h"

#include "base/errors.h"
#include "cli/exit_status.h"

namespace pelkor::cli {

int FmtCommand(const FmtOptions& options, std::ostream& /*out*/, std::ostream& err) {
  std::optional<DesignText> file;
  try {
    file = ReadDesignFile(options.design);
  } catch (const InputRefused& e) {
    err << "pelkor-cli: " << e.what() << '\n';
    return kExitNoInput;
  }
  if (!file) {
    err << "pelkor-cli: cannot open " << options.design.string() << '\n';
    return kExitNoInput;
  }
  Module module;
  std::vector<IgnoredRecord> ignored;
  std::optional<std::string> failure;
  try {
    ReadModule(file->text, module, ignored);
  } catch (const MessageError& e) {
    failure = e.what();
  }
  const std::string prefix = "pelkor-cli: " + options.design.string() + ": ";
  for (const IgnoredRecord& record : ignored)
    err << prefix << IgnoredRecordMessage(record) << '\n';
  // Writing back a partly read module, or one without the records passed over, would lose
  // part of the file.
  if (failure) {
    err << prefix << "ロードに失敗しました" << *failure << '\n';
    return kExitDesignFailed;
  }
  if (!ignored.empty()) {
    err << prefix << "not rewritten, the records passed over would be lost\n";
    return kExitDesignFailed;
  }
  const std::filesystem::path target = options.output.value_or(options.design);
  switch (SaveDesignFile(target, module, options.encoding.value_or(file->encoding))) {
    case SaveResult::kSaved:
      return kExitOk;
    case SaveResult::kCannotOpen:
      err << "pelkor-cli: cannot create " << target.string() << '\n';
      break;
    case SaveResult::kWriteFailed:
      err << "pelkor-cli: writing " << target.string() << " failed\n";
      break;
  }
  return kExitCannotWrite;
}

}  // namespace pelkor::cli
