// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace pelkor {

// The folder of the running executable (from /proc/self/exe); empty when it cannot be found.
std::filesystem::path ExecutableDirectory();

// Where the settings file lives: "pelkor.ini" beside the executable when that folder is
// writable, otherwise $XDG_CONFIG_HOME/pelkor/pelkor.ini ($HOME/.config when the variable is
// unset, empty or not an absolute path).
std::filesystem::path SettingsFilePath(const std::filesystem::path& executableDirectory);

}  // namespace pelkor
