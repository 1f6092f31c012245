// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/settings_location.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "child_process.h"
#include "support/temp_folder.h"

namespace pelkor {
namespace {

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name))
      old_ = old;
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(SettingsLocationTest, BesideTheExecutableWhenThatFolderIsWritable) {
  testing::TempFolder folder;
  EXPECT_EQ(SettingsFilePath(folder.path()), folder / "pelkor.ini");
  EXPECT_FALSE(ExecutableDirectory().empty());
}

TEST(SettingsLocationTest, UserConfigFolderOtherwise) {
  testing::TempFolder folder;
  const std::filesystem::path unusable = folder / "missing";
  ScopedEnv home("HOME", "/home/someone");
  {
    ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(SettingsFilePath(unusable), "/cfg/pelkor/pelkor.ini");
  }
  for (const char* config : {static_cast<const char*>(nullptr), "", "relative/cfg"}) {
    ScopedEnv unset("XDG_CONFIG_HOME", config);
    EXPECT_EQ(SettingsFilePath(unusable), "/home/someone/.config/pelkor/pelkor.ini");
  }
}

TEST(SettingsLocationTest, ReadOnlyExecutableFolderIsNotUsed) {
  testing::TempFolder folder;
  std::filesystem::permissions(folder.path(), std::filesystem::perms(0555));
  ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
  // Unprivileged, so that the permission bits hold even when the tests run as root.
  EXPECT_EQ(testing::RunInChild(
                [&] { return SettingsFilePath(folder.path()) == "/cfg/pelkor/pelkor.ini" ? 0 : 1; },
                true),
            0);
}

}  // namespace
}  // namespace pelkor
