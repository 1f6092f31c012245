// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace pelkor::cli {

// What the manual page and the shell completion read from the command line's help.

// Every command, in the order they were added.
std::vector<const CLI::App*> Commands(const CLI::App& app);

// The options of a command without its help flag, positional arguments first.
std::vector<const CLI::Option*> OptionsOf(const CLI::App& command);

// The name the help gives an option's value ("FILE", "N", "cp932|utf-8"); empty for a flag.
std::string ValueName(const CLI::Option& option);

// The literal words among a value name's alternatives: "cp932|utf-8" gives cp932 and utf-8,
// "K/N|auto" gives auto.
std::vector<std::string> ValueWords(const std::string& valueName);

}  // namespace pelkor::cli
