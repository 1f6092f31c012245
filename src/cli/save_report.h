// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <ostream>

#include "files/safe_write.h"

namespace pelkor::cli {

// True when the file was saved; otherwise says on `err` why it was not.
bool ReportSave(SaveResult result, const std::filesystem::path& target, std::ostream& err);

}  // namespace pelkor::cli
