// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/settings_location.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "child_process.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace pelkor {
namespace {

using testing::ScopedEnv;

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
