// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pelkor {

// How many design files the file menu remembers.
inline constexpr std::size_t kMaxRecentFiles = 4;

// Puts `path` first, dropping an earlier entry for the same file and the oldest beyond the
// limit.
void AddRecentFile(std::vector<std::string>& files, const std::string& path);
void RemoveRecentFile(std::vector<std::string>& files, const std::string& path);

}  // namespace pelkor
