// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "cli/diff_command.h"
#include "cli/fmt_command.h"
#include "cli/render_command.h"
#include "cli/run_command.h"
#include "cli/shard.h"
#include "cli/test_command.h"

namespace pelkor::cli {

// The command line of pelkor-cli: every command and option with its help text, bound to where
// its value goes. The help, the manual page and the shell completion are all made from it.
class CliApp {
 public:
  CliApp();
  CliApp(const CliApp&) = delete;
  CliApp& operator=(const CliApp&) = delete;

  // Parses the arguments and runs the command; returns the exit status.
  int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
          const Environment& environment);

  const CLI::App& app() const { return app_; }

 private:
  int RunTest(std::ostream& out, std::ostream& err, const Environment& environment);

  CLI::App app_;
  bool quiet_ = false;
  FmtOptions fmtOptions_;
  TextEncoding fmtEncoding_ = TextEncoding::kCp932;
  std::filesystem::path checkDesign_;
  RunOptions runOptions_;
  TestOptions testOptions_;
  std::string shard_;
  std::optional<int> shardCount_;
  std::filesystem::path exportDesign_;
  std::filesystem::path exportOutput_;
  RenderOptions renderOptions_;
  DiffOptions diffOptions_;

  CLI::App* fmt_ = nullptr;
  CLI::Option* encodingOption_ = nullptr;
  CLI::App* check_ = nullptr;
  CLI::App* run_ = nullptr;
  CLI::App* test_ = nullptr;
  CLI::App* export_ = nullptr;
  CLI::App* render_ = nullptr;
  CLI::App* diff_ = nullptr;
  CLI::App* serve_ = nullptr;
};

// Runs pelkor-cli with the given arguments and the process's environment, writing the output
// log and reports to `out` and errors to `err`; returns the exit status.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace pelkor::cli
