// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery copies follow the unsaved changes, and a design a crashed program left comes back
// as it was drawn.
#include "workspace/crash_recovery.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "files/design_file.h"
#include "support/recording_log.h"
#include "support/records.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"
#include "support/workspace_probe.h"
#include "workspace/workspace.h"

namespace pelkor {
namespace {

namespace fs = std::filesystem;
using testing::At;

constexpr const char* kTop = "//pelkor file\nshift[1,0,0,0,1,2]{\n}\nmodule[2,80,0]{\nsub}\n";
constexpr const char* kSub = "//pelkor file\nshift[1,0,0,0,1,2]{\n01}\n";

// A program: a workspace with recovery on, its log and its answers.
struct Program {
  explicit Program(const fs::path& recovery) {
    workspace.AttachLog(&log);
    EXPECT_TRUE(workspace.EnableRecovery(recovery));
  }
  ModuleLibrary& library() { return testing::LibraryOf(workspace); }
  // An edit as the tools make it: a register placed and recorded.
  void PlaceRegister(const std::string& moduleName, Point at) {
    Module& module = library().ModuleByName(moduleName);
    module.AddShiftRegister(At<ShiftRegister>(at));
    module.RecordEdit();
  }
  fs::path CopyOf(const std::string& moduleName) {
    return workspace.recovery()->sessionFolder() / CopyFileName(moduleName);
  }

  testing::ScriptedUi ui;
  testing::RecordingLog log;
  Workspace workspace{ui};
};

class CrashRecoveryTest : public ::testing::Test {
 protected:
  CrashRecoveryTest() {
    temp.Write("top.dtn", kTop);
    temp.Write("sub.dtn", kSub);
  }
  fs::path recovery() const { return temp / "recovery"; }
  // Every module of the library in design-file text, by name.
  static std::map<std::string, std::string> Texts(const Workspace& workspace) {
    std::map<std::string, std::string> texts;
    for (const auto& [name, number] : workspace.library().moduleNumbers())
      texts[name] = WriteModule(workspace.library().ModuleByName(name));
    return texts;
  }

  testing::TempFolder temp;
};

TEST_F(CrashRecoveryTest, CopiesFollowTheUnsavedChanges) {
  Program program(recovery());
  Workspace& workspace = program.workspace;
  workspace.OpenFile(temp / "top.dtn");
  workspace.WriteRecoveryCopies();
  EXPECT_FALSE(fs::exists(program.CopyOf("top")));

  program.PlaceRegister("top", {200, 0});
  program.PlaceRegister("sub", {200, 0});
  EXPECT_FALSE(fs::exists(program.CopyOf("top")));  // only when asked, or at a check
  workspace.WriteRecoveryCopies();
  ASSERT_TRUE(fs::exists(program.CopyOf("top")));
  ASSERT_TRUE(fs::exists(program.CopyOf("sub")));
  Module read;
  ReadModule(ReadDesignFile(program.CopyOf("sub"))->text, read);
  EXPECT_EQ(WriteModule(read), WriteModule(program.library().ModuleByName("sub")));

  // Saving the module shown drops its copy at once; the other one stays.
  workspace.Save();
  EXPECT_FALSE(fs::exists(program.CopyOf("top")));
  EXPECT_TRUE(fs::exists(program.CopyOf("sub")));

  // A change undone needs no copy; a change made again gets one at the check.
  program.PlaceRegister("top", {300, 0});
  workspace.WriteRecoveryCopies();
  ASSERT_TRUE(fs::exists(program.CopyOf("top")));
  workspace.Undo();
  EXPECT_FALSE(fs::exists(program.CopyOf("top")));
  workspace.Redo();
  workspace.Check();
  EXPECT_TRUE(fs::exists(program.CopyOf("top")));
  workspace.EndSimulation();

  // Discarding the changes for a new design drops every copy; a clean end drops the session.
  workspace.New();
  EXPECT_FALSE(fs::exists(program.CopyOf("sub")));
  const fs::path session = workspace.recovery()->sessionFolder();
  workspace.EndRecoveryCleanly();
  EXPECT_FALSE(fs::exists(session));
  EXPECT_TRUE(FindAbandonedSessions(recovery()).empty());
}

// A program that dies leaves its copies; the next one puts the design back as it was drawn,
// with the copied modules changed and the others as their files hold them, and writes no
// design file.
TEST_F(CrashRecoveryTest, TheNextProgramRestoresWhatWasDrawn) {
  std::map<std::string, std::string> drawn;
  {
    auto crashed = std::make_unique<Program>(recovery());
    crashed->workspace.OpenFile(temp / "top.dtn");
    crashed->PlaceRegister("top", {200, 40});
    crashed->workspace.WriteRecoveryCopies();
    crashed->PlaceRegister("top", {240, 40});  // after the last copy: lost
    drawn = Texts(crashed->workspace);
    crashed->library().ModuleByName("top").Undo();
    drawn["top"] = WriteModule(crashed->library().ModuleByName("top"));
    // Ends without EndRecoveryCleanly, as a killed program does.
  }

  Program next(recovery());
  std::vector<AbandonedSession> left = FindAbandonedSessions(recovery());
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].design, (RecoveryDesign{"top", temp.path()}));
  ASSERT_EQ(left[0].copies.size(), 1u);
  const fs::path oldSession = left[0].folder;

  next.workspace.RestoreRecovered(left[0]);
  EXPECT_EQ(Texts(next.workspace), drawn);
  EXPECT_EQ(next.workspace.ModifiedModules(), (std::vector<std::string>{"top"}));
  EXPECT_EQ(next.workspace.documentTitle(), "top");
  EXPECT_EQ(next.workspace.designFolder(), temp.path());
  EXPECT_EQ(next.library().rootInstance().children.size(), 1u);
  EXPECT_EQ(testing::ReadBytes(temp / "top.dtn"), kTop);
  EXPECT_NE(std::find(next.log.lines.begin(), next.log.lines.end(), "topを復元しました"),
            next.log.lines.end());
  // The copies moved into this program's session.
  EXPECT_FALSE(fs::exists(oldSession));
  EXPECT_TRUE(fs::exists(next.CopyOf("top")));

  // Saving puts the restored module where it came from.
  next.workspace.Save();
  Module saved;
  ReadModule(ReadDesignFile(temp / "top.dtn")->text, saved);
  EXPECT_EQ(WriteModule(saved), drawn["top"]);
  EXPECT_TRUE(next.workspace.ModifiedModules().empty());
}

// A never-saved design and its never-saved sub-module come back from their copies alone.
TEST_F(CrashRecoveryTest, ANewDesignComesBackFromItsCopiesAlone) {
  std::map<std::string, std::string> drawn;
  {
    Program crashed(recovery());
    crashed.PlaceRegister("untitle", {0, 0});
    ModuleLibrary& library = crashed.library();
    library.currentModule().AddInstance(At<ModuleInstance>({100, 0}));
    library.currentModule().RecordEdit();
    crashed.ui.names.push_back("fresh");
    crashed.workspace.EnterInstance(library.currentModule().instances.begin()->first);
    crashed.PlaceRegister("fresh", {50, 50});
    crashed.workspace.WriteRecoveryCopies();
    drawn = Texts(crashed.workspace);
  }
  Program next(recovery());
  std::vector<AbandonedSession> left = FindAbandonedSessions(recovery());
  ASSERT_EQ(left.size(), 1u);
  next.workspace.RestoreRecovered(left[0]);
  EXPECT_EQ(Texts(next.workspace), drawn);
  EXPECT_EQ(next.workspace.ModifiedModules(), (std::vector<std::string>{"fresh", "untitle"}));
  EXPECT_FALSE(fs::exists(temp / "fresh.dtn"));
  EXPECT_FALSE(fs::exists(temp / "untitle.dtn"));
}

TEST_F(CrashRecoveryTest, AFolderThatCannotBeMadeLeavesRecoveryOffWithALogLine) {
  const fs::path file = temp.Write("file", "");
  testing::ScriptedUi ui;
  testing::RecordingLog log;
  Workspace workspace(ui);
  workspace.AttachLog(&log);
  EXPECT_FALSE(workspace.EnableRecovery(file / "recovery"));
  EXPECT_EQ(workspace.recovery(), nullptr);
  EXPECT_EQ(log.lines, (std::vector<std::string>{(file / "recovery").string() +
                                                 "に復元用のフォルダを作れません"}));
  workspace.WriteRecoveryCopies();  // nothing to do, nothing breaks
}

}  // namespace
}  // namespace pelkor
