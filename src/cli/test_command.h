// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <vector>

#include "cli/shard.h"

namespace pelkor::cli {

struct TestOptions {
  std::vector<std::filesystem::path> paths;  // files and folders; the current folder if none
  int jobs = 0;                              // designs run at once; the number of cores if 0
  std::optional<std::filesystem::path> junit;
  std::optional<Shard> shard;
  std::int64_t maxSteps = 1'000'000;
  bool quiet = false;  // no output-log lines for designs that cannot be run
};

// Finds the designs under the given paths, runs those whose sinks expect values in parallel,
// and prints one line per design and a summary. Exit status 2 when a design cannot be run
// through, else 1 when a sink failed.
int TestCommand(const TestOptions& options, std::ostream& out, std::ostream& err);

}  // namespace pelkor::cli
