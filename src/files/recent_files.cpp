// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/recent_files.h"

#include <algorithm>

namespace pelkor {

void AddRecentFile(std::vector<std::string>& files, const std::string& path) {
  RemoveRecentFile(files, path);
  files.insert(files.begin(), path);
  if (files.size() > kMaxRecentFiles)
    files.resize(kMaxRecentFiles);
}

void RemoveRecentFile(std::vector<std::string>& files, const std::string& path) {
  files.erase(std::remove(files.begin(), files.end(), path), files.end());
}

}  // namespace pelkor
