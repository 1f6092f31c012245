// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/recovery_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "base/errors.h"
#include "child_process.h"
#include "files/design_file.h"
#include "support/records.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace pelkor {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;

TEST(RecoveryStoreTest, EveryModuleNameMakesOnePlainFileNameAndComesBack) {
  for (const std::string name :
       {"top", "全加算器", "a/b", "..", ".hidden", "50%", "a\\b", "x\ny", "%41", "lock"}) {
    SCOPED_TRACE(name);
    const std::string file = CopyFileName(name);
    EXPECT_EQ(file.find('/'), std::string::npos);
    EXPECT_NE(file[0], '.');
    EXPECT_EQ(fs::path(file).filename().string(), file);
    EXPECT_EQ(ModuleOfCopyName(file), name);
  }
  // What the folder holds besides copies, and names no copy has.
  for (const std::string file : {"lock", "design", ".dtn", ".x.dtn", "a%4.dtn", "a%ZZ.dtn", "a%"}) {
    SCOPED_TRACE(file);
    EXPECT_EQ(ModuleOfCopyName(file), std::nullopt);
  }
}

TEST(RecoveryStoreTest, TheFolderIsInTheUsersStateFolder) {
  const ScopedEnv home("HOME", "/home/someone");
  struct Case {
    const char* stateHome;
    const char* expected;
  };
  for (const Case& c : {Case{"/var/state", "/var/state/pelkor/recovery"},
                        Case{nullptr, "/home/someone/.local/state/pelkor/recovery"},
                        Case{"", "/home/someone/.local/state/pelkor/recovery"},
                        Case{"relative/state", "/home/someone/.local/state/pelkor/recovery"}}) {
    const ScopedEnv state("XDG_STATE_HOME", c.stateHome);
    EXPECT_EQ(RecoveryFolderPath(), fs::path(c.expected));
  }
}

class RecoverySessionTest : public ::testing::Test {
 protected:
  RecoverySessionTest() { module.AddShiftRegister(testing::At<ShiftRegister>({40, 60})); }

  fs::path recovery() const { return temp / "state" / "recovery"; }

  testing::TempFolder temp;
  Module module;
  const RecoveryDesign design{"top", "/designs/adder"};
};

// Only sessions whose program is gone are offered, newest first, with the design they belong
// to; the finder holds each one, so that a second program does not offer it too.
TEST_F(RecoverySessionTest, OnlySessionsWhoseProgramIsGoneAreOffered) {
  RecoverySession running(recovery());
  ASSERT_EQ(running.WriteDesign(design), SaveResult::kSaved);
  ASSERT_EQ(running.WriteCopy("top", module), SaveResult::kSaved);
  EXPECT_TRUE(FindAbandonedSessions(recovery()).empty());

  fs::path older;
  {
    RecoverySession gone(recovery());
    older = gone.folder();
    gone.WriteDesign({"old", "/designs/old"});
    gone.WriteCopy("old", module);
    gone.WriteCopy("sub/part", module);
    fs::last_write_time(gone.folder() / CopyFileName("old"),
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    fs::last_write_time(gone.folder() / CopyFileName("sub/part"),
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
  }
  fs::path newer;
  {
    RecoverySession gone(recovery());
    newer = gone.folder();
    gone.WriteDesign(design);
    gone.WriteCopy("top", module);
  }
  {
    RecoverySession empty(recovery());  // nothing was changed: nothing to offer, and it goes
    empty.WriteDesign(design);
  }

  std::vector<AbandonedSession> found = FindAbandonedSessions(recovery());
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].folder, newer);
  EXPECT_EQ(found[0].design, design);
  EXPECT_EQ(found[1].folder, older);
  EXPECT_EQ(found[1].design, (RecoveryDesign{"old", "/designs/old"}));
  ASSERT_EQ(found[1].copies.size(), 2u);
  EXPECT_EQ(found[1].copies[1].moduleName, "sub/part");
  EXPECT_GT(found[0].LastWritten(), found[1].LastWritten());
  ASSERT_EQ(SaveDesignFile(temp / "saved.dtn", module), SaveResult::kSaved);
  EXPECT_EQ(testing::ReadBytes(found[0].copies[0].file), testing::ReadBytes(temp / "saved.dtn"));

  EXPECT_TRUE(FindAbandonedSessions(recovery()).empty());  // held by the first finder
  DiscardSession(found[1]);
  EXPECT_FALSE(fs::exists(older));
  found.clear();
  ASSERT_EQ(FindAbandonedSessions(recovery()).size(), 1u);

  running.EndCleanly();
  EXPECT_FALSE(fs::exists(running.folder()));
}

// A program killed outright leaves its session to the next one: the lock dies with it.
TEST_F(RecoverySessionTest, AKilledProgramLeavesItsCopies) {
  fs::create_directories(recovery());
  const int status = testing::RunInChild([&] {
    RecoverySession session(recovery());
    session.WriteDesign(design);
    session.WriteCopy("top", module);
    ::_exit(7);  // no destructor, no cleanup
    return 0;
  });
  ASSERT_EQ(status, 7);
  const std::vector<AbandonedSession> found = FindAbandonedSessions(recovery());
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].design, design);
  ASSERT_EQ(found[0].copies.size(), 1u);
  EXPECT_EQ(found[0].copies[0].moduleName, "top");
}

TEST_F(RecoverySessionTest, AFolderThatCannotBeMadeRefusesTheSession) {
  const fs::path file = temp.Write("file", "");
  EXPECT_THROW(RecoverySession(file / "recovery"), MessageError);
  EXPECT_TRUE(FindAbandonedSessions(file / "recovery").empty());
}

}  // namespace
}  // namespace pelkor
