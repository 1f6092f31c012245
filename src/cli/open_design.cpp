// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/open_design.h"

#include <string>
#include <vector>

#include "cli/exit_status.h"

namespace pelkor::cli {

namespace {

// Passes the log lines on and keeps them, so that why a design cannot be opened reaches
// standard error even when the log is quiet.
class KeptLines : public LogSink {
 public:
  explicit KeptLines(Workspace& workspace) : workspace_(workspace), next_(workspace.logSink()) {
    workspace_.AttachLog(this);
  }
  KeptLines(const KeptLines&) = delete;
  KeptLines& operator=(const KeptLines&) = delete;
  ~KeptLines() override { workspace_.AttachLog(next_); }

  void WriteLine(std::string_view line) override {
    lines.emplace_back(line);
    if (next_ != nullptr)
      next_->WriteLine(line);
  }

  std::vector<std::string> lines;

 private:
  Workspace& workspace_;
  LogSink* next_;
};

}  // namespace

int OpenDesign(Workspace& workspace, const std::filesystem::path& design, std::ostream& err) {
  KeptLines kept(workspace);
  switch (workspace.OpenFile(design)) {
    case OpenResult::kOpened:
      return kExitOk;
    case OpenResult::kCannotOpen:
      // The one line the open wrote: a missing file, or a file refused and why.
      for (const std::string& line : kept.lines)
        err << "pelkor-cli: " << line << '\n';
      return kExitNoInput;
    case OpenResult::kLoadFailed:
      break;
  }
  err << "pelkor-cli: " << design.string() << ": the design could not be loaded completely\n";
  return kExitDesignFailed;
}

}  // namespace pelkor::cli
