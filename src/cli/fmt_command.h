// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>

#include "files/design_file.h"

namespace pelkor::cli {

struct FmtOptions {
  std::filesystem::path design;
  std::optional<std::filesystem::path> output;  // in place when absent
  std::optional<TextEncoding> encoding;         // the file's own when absent
  // Write even what was not read whole, losing what was passed over, and over a file that is
  // not the one read or that changed on disk meanwhile.
  bool force = false;
};

// Reads one design file (no sub-modules) and writes it back in the writer's canonical form.
// A file that does not read whole is left as it is unless `force` is set; so is an existing
// output file other than the design, and the design when it changed since it was read.
int FmtCommand(const FmtOptions& options, std::ostream& out, std::ostream& err);

}  // namespace pelkor::cli
