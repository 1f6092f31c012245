// SPDX-License-Identifier: GPL-3.0-or-later
// Which modules changed since they were loaded or saved, and what New, Open and dropped files
// do with them.
#include <gtest/gtest.h>

#include "support/recording_log.h"
#include "support/records.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"
#include "support/workspace_probe.h"
#include "workspace/workspace.h"

namespace pelkor {
namespace {

using testing::At;

class UnsavedChangesTest : public ::testing::Test {
 protected:
  UnsavedChangesTest() {
    workspace.AttachLog(&sink);
    temp.Write("top.dtn", "//pelkor file\nshift[1,0,0,0,1,2]{\n}\nmodule[2,80,0]{\nsub}\n");
    temp.Write("sub.dtn", "//pelkor file\nshift[1,0,0,0,1,2]{\n01}\n");
    workspace.OpenFile(temp.path() / "top.dtn");
  }
  Module& shown() { return testing::LibraryOf(workspace).currentModule(); }
  void PlaceRegister() {
    shown().AddShiftRegister(At<ShiftRegister>({300, 300}));
    shown().RecordEdit();
  }

  testing::TempFolder temp;
  testing::ScriptedUi ui;
  testing::RecordingLog sink;
  Workspace workspace{ui};
};

TEST_F(UnsavedChangesTest, AnOpenedHierarchyIsUnchangedUntilEditedAndSavedAgain) {
  EXPECT_TRUE(workspace.ModifiedModules().empty());
  EXPECT_EQ(ui.usedFiles, (std::vector<std::filesystem::path>{temp.path() / "top.dtn"}));

  shown().selection.Add(shown(), 1);  // what a file does not keep is no change
  EXPECT_FALSE(workspace.IsModified("top"));
  PlaceRegister();
  EXPECT_EQ(workspace.ModifiedModules(), (std::vector<std::string>{"top"}));

  workspace.Save();
  EXPECT_TRUE(workspace.ModifiedModules().empty());
  EXPECT_EQ(ui.usedFiles.size(), 2u);
}

// The first edit after opening can be undone, and undoing it leaves nothing to save.
TEST_F(UnsavedChangesTest, UndoingEveryEditBringsBackTheSavedStateAndRedoTheChange) {
  PlaceRegister();
  ASSERT_TRUE(workspace.IsModified("top"));
  workspace.Undo();
  EXPECT_EQ(shown().shiftRegisters.size(), 1u);
  EXPECT_FALSE(workspace.IsModified("top"));
  workspace.Redo();
  EXPECT_TRUE(workspace.IsModified("top"));
}

TEST_F(UnsavedChangesTest, NewAsksOnlyWhenSomethingChangedAndCancelKeepsEverything) {
  workspace.New();
  EXPECT_EQ(ui.saveQuestions, 0);

  workspace.OpenFile(temp.path() / "top.dtn");
  PlaceRegister();
  ui.saveAnswer = SaveChangesAnswer::kCancel;
  workspace.New();
  workspace.DropFiles({temp.path() / "sub.dtn"});
  EXPECT_EQ(ui.saveQuestions, 2);
  EXPECT_EQ(testing::LibraryOf(workspace).rootInstance().name, "top");
  EXPECT_EQ(shown().shiftRegisters.size(), 2u);

  ui.saveAnswer = SaveChangesAnswer::kDiscard;
  workspace.New();
  EXPECT_EQ(testing::LibraryOf(workspace).rootInstance().name, "untitle");
  EXPECT_EQ(testing::ReadBytes(temp.path() / "top.dtn").find("shift[2"), std::string::npos);
}

TEST_F(UnsavedChangesTest, SaveAllWritesTheChangesBeforeNewAndAFailedSaveKeepsTheDesign) {
  PlaceRegister();
  ui.saveAnswer = SaveChangesAnswer::kSaveAll;
  // A folder where the file should go cannot be replaced, not even by root.
  std::filesystem::remove(temp.path() / "top.dtn");
  std::filesystem::create_directory(temp.path() / "top.dtn");
  workspace.New();
  EXPECT_EQ(testing::LibraryOf(workspace).rootInstance().name, "top");
  EXPECT_FALSE(workspace.ModifiedModules().empty());

  std::filesystem::remove(temp.path() / "top.dtn");
  workspace.New();
  EXPECT_EQ(testing::LibraryOf(workspace).rootInstance().name, "untitle");
  EXPECT_NE(testing::ReadBytes(temp.path() / "top.dtn").find("shift[2"), std::string::npos);
}

}  // namespace
}  // namespace pelkor
