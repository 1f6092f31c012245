// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "model/output_log.h"
#include "workspace/workspace.h"
#include "workspace/workspace_ui.h"

namespace pelkor::cli {

// Prints every output-log line as it is written, one per line.
class StreamLogSink : public LogSink {
 public:
  explicit StreamLogSink(std::ostream& out) : out_(out) {}
  void WriteLine(std::string_view line) override { out_ << line << '\n' << std::flush; }

 private:
  std::ostream& out_;
};

// No one to ask: every dialog is cancelled.
class HeadlessUi : public WorkspaceUi {
 public:
  std::optional<std::filesystem::path> ChooseFile(const FileDialogSpec&) override {
    return std::nullopt;
  }
  std::optional<std::string> AskModuleName() override { return std::nullopt; }
};

// A workspace whose log goes to a stream, as the desktop log window would show it, or nowhere
// when quiet.
struct CliSession {
  CliSession(std::ostream& out, bool quiet) : sink(out) {
    workspace.SetRecordHistory(false);  // the VCD writer records what a run asks for
    if (!quiet)
      workspace.AttachLog(&sink);
  }

  StreamLogSink sink;
  HeadlessUi ui;
  Workspace workspace{ui};
};

}  // namespace pelkor::cli
