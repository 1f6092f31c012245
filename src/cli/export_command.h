// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <ostream>

namespace pelkor::cli {

// Opens a design with its hierarchy and exports its top module as a DRAVU objects file;
// `quiet` leaves out the output-log lines.
int ExportCommand(const std::filesystem::path& design, const std::filesystem::path& output,
                  bool quiet, std::ostream& out, std::ostream& err);

}  // namespace pelkor::cli
