// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace pelkor::cli {

struct DiffOptions {
  // OLD and NEW; with `git`, the arguments git gives an external diff driver: the path alone
  // for an unmerged path, else path, old file, old hash, old mode, new file, new hash, new mode
  // and, for a rename, the new path and git's header lines.
  std::vector<std::string> files;
  bool git = false;
  bool json = false;
  std::optional<std::filesystem::path> svg;
};

// Compares two versions of one module file and prints one line per object that differs, or
// a JSON document. Exit status 0 when nothing differs, 1 when something does, 2 for trouble;
// with `git`, 0 whether or not something differs, as git stops at any other status.
int DiffCommand(const DiffOptions& options, std::ostream& out, std::ostream& err);

}  // namespace pelkor::cli
