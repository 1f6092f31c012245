// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/settings_location.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace pelkor {

namespace {

constexpr const char* kFileName = "pelkor.ini";

std::filesystem::path UserConfigFolder() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') {
    return config;
  }
  const char* home = std::getenv("HOME");
  if (!home || home[0] == '\0') {
    const passwd* user = ::getpwuid(::getuid());
    home = user ? user->pw_dir : nullptr;
  }
  return std::filesystem::path(home ? home : "") / ".config";
}

}  // namespace

std::filesystem::path ExecutableDirectory() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : executable.parent_path();
}

std::filesystem::path SettingsFilePath(const std::filesystem::path& executableDirectory) {
  std::error_code error;
  if (!executableDirectory.empty() && std::filesystem::is_directory(executableDirectory, error) &&
      ::access(executableDirectory.c_str(), W_OK) == 0) {
    return executableDirectory / kFileName;
  }
  return UserConfigFolder() / "pelkor" / kFileName;
}

}  // namespace pelkor
