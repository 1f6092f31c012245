// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <ostream>

#include "workspace/workspace.h"

namespace pelkor::cli {

// Opens a design as the Open command does; returns the exit status to stop with, or
// kExitOk to go on.
int OpenDesign(Workspace& workspace, const std::filesystem::path& design, std::ostream& err);

}  // namespace pelkor::cli
