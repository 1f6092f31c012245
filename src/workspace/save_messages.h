// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "files/safe_write.h"
#include "workspace/module_files.h"

namespace pelkor {

// A log line about a file followed by the folder it is in, so that the user sees where it went.
std::string InFolder(const std::string& message, const std::filesystem::path& file);

// The question before writing over a file at risk: the file and what would be lost.
std::string OverwriteQuestionText(const std::filesystem::path& path, FileRisk risk);

// The message shown when saving to `path` failed with `result`: the file and the reason, read
// from the disk as it is now (no folder, a folder or a file that cannot be written).
std::string SaveFailureText(const std::filesystem::path& path, SaveResult result);

}  // namespace pelkor
