#pragma once

#include <filesystem>
#include <ostream>

namespace pelkor::cli {

// Opens a design with its hierarchy and exports its top module as a DRAVU objects file.
int ExportCommand(const std::filesystem::path& design, const std::filesystem::path& output,
                  std::ostream& out, std::ostream& err);

}  // namespace pelkor::cli
