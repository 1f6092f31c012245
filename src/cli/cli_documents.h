// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <string_view>

namespace pelkor::cli {

// The manual page pelkor-cli(1) in roff, made from the command line's own help: every
// command with its arguments and options, the variables --shard auto reads and the exit
// statuses. `version` heads the page.
std::string ManualPage(const CLI::App& app, std::string_view version);

// A completion script for bash-completion: commands, their options, the words an option's
// value may be, files for file options and design files for the arguments.
std::string BashCompletion(const CLI::App& app);

}  // namespace pelkor::cli
