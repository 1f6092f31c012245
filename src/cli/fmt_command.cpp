#include "cli/fmt_command.h"

#include "base/errors.h"
#include "cli/exit_status.h"

namespace pelkor::cli {

int FmtCommand(const FmtOptions& options, std::ostream& /*out*/, std::ostream& err) {
  const std::optional<DesignText> file = ReadDesignFile(options.design);
  if (!file) {
    err << "pelkor-cli: cannot open " << options.design.string() << '\n';
    return kExitNoInput;
  }
  Module module;
  try {
    ReadModule(file->text, module);
  } catch (const MessageError& e) {
    // Writing back a partly read module would lose the rest of the file.
    err << "pelkor-cli: " << options.design.string() << ": ロードに失敗しました" << e.what()
        << '\n';
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
