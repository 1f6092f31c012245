// SPDX-License-Identifier: GPL-3.0-or-later
// Saving writes where the user thinks it does, and never over what pelkor has not seen: each
// module keeps its own file, and a file read in part, changed on disk or never read is written
// over only when the user says so.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

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

const std::string kOneRegister = "//pelkor file\nshift[1,0,0,0,1,2]{\n01}\n";

class SavingTest : public ::testing::Test {
 protected:
  SavingTest() {
    workspace.AttachLog(&sink);
    workspace.SetDesignFolder(folder);
  }

  ModuleLibrary& library() { return testing::LibraryOf(workspace); }
  // Places a register in the module of that name, as an edit.
  void Edit(const std::string& moduleName) {
    Module& module = library().ModuleByName(moduleName);
    module.AddShiftRegister(testing::At<ShiftRegister>({40 * module.nextObjectId, 0}));
    module.RecordEdit();
  }
  // How many shift registers the design file holds, read as pelkor reads it.
  static std::size_t RegistersIn(const fs::path& file) {
    const std::optional<DesignText> text = ReadDesignFile(file);
    if (!text)
      return 0;
    Module module;
    ReadModule(text->text, module);
    return module.shiftRegisters.size();
  }
  std::string SavedLine(const std::string& name, const fs::path& in) const {
    return name + "をセーブしました（" + in.string() + "）";
  }
  // A hierarchy top → sub in `sub/` of the folder, opened.
  void OpenHierarchy() {
    fs::create_directory(folder / "design");
    temp.Write("design/top.dtn", "//pelkor file\nmodule[1,0,0]{\nsub}\n");
    temp.Write("design/sub.dtn", kOneRegister);
    ASSERT_EQ(workspace.OpenFile(folder / "design" / "top.dtn"), OpenResult::kOpened);
  }

  testing::TempFolder temp;
  const fs::path& folder = temp.path();
  testing::ScriptedUi ui;
  testing::RecordingLog sink;
  Workspace workspace{ui};
};

// Save after Save As wrote a new "untitle.dtn" and left the file the title named as it was.
TEST_F(SavingTest, SaveAfterSaveAsWritesTheFileTheTitleNames) {
  Edit("untitle");
  ui.files.push_back(folder / "mine.dtn");
  workspace.SaveAs();
  EXPECT_EQ(library().rootInstance().name, "mine");
  EXPECT_EQ(workspace.WindowTitle(), "mine.dtn - pelkor");

  Edit("mine");
  EXPECT_EQ(workspace.WindowTitle(), "mine.dtn* - pelkor");
  workspace.Save();
  EXPECT_EQ(RegistersIn(folder / "mine.dtn"), 2u);
  EXPECT_FALSE(fs::exists(folder / "untitle.dtn"));
  EXPECT_EQ(workspace.WindowTitle(), "mine.dtn - pelkor");
  EXPECT_EQ(sink.lines,
            (std::vector<std::string>{SavedLine("mine.dtn", folder), SavedLine("mine", folder)}));
  EXPECT_TRUE(ui.overwriteQuestions.empty());
}

// A module that instances use keeps its name, so the file they name stays its file.
TEST_F(SavingTest, SaveAsOfAModuleInstancesUseWritesACopy) {
  OpenHierarchy();
  workspace.EnterInstance(1);
  Edit("sub");
  const std::string title = workspace.documentTitle();
  ui.files.push_back(folder / "other.dtn");
  workspace.SaveAs();
  EXPECT_EQ(RegistersIn(folder / "other.dtn"), 2u);
  EXPECT_EQ(library().currentInstance().name, "sub");
  EXPECT_EQ(workspace.documentTitle(), title);
  EXPECT_TRUE(workspace.IsModified("sub"));
  EXPECT_EQ(
      sink.lines.back(),
      "other.dtnにはコピーを保存しました。モジュールsubはこれまでどおりsub.dtnに保存されます");

  workspace.Save();
  EXPECT_EQ(RegistersIn(folder / "design" / "sub.dtn"), 2u);
  EXPECT_FALSE(workspace.IsModified("sub"));
}

// Save wrote into whatever folder the last file dialog used, an export's among them.
TEST_F(SavingTest, EveryModuleIsSavedInTheFolderOfItsOwnFile) {
  OpenHierarchy();
  Edit("top");
  Edit("sub");
  fs::create_directory(folder / "out");
  ui.files.push_back(folder / "out" / "top.bsp");
  workspace.ExportBsp();
  EXPECT_EQ(sink.lines.back(), "top.bspを出力しました（" + (folder / "out").string() + "）");
  fs::create_directory(folder / "lib");
  temp.Write("lib/part.dtn", kOneRegister);
  ui.files.push_back(folder / "lib" / "part.dtn");
  workspace.LoadModule();
  EXPECT_EQ(sink.lines.back(), "part.dtnを読み込みました");

  workspace.Save();
  workspace.SaveAll();
  EXPECT_EQ(RegistersIn(folder / "design" / "top.dtn"), 1u);
  EXPECT_EQ(RegistersIn(folder / "design" / "sub.dtn"), 2u);
  for (const char* stray : {"out/top.dtn", "out/sub.dtn", "lib/top.dtn", "lib/sub.dtn"})
    EXPECT_FALSE(fs::exists(folder / stray)) << stray;
  EXPECT_EQ(sink.lines.back(), SavedLine("top.dtn", folder / "design"));
  EXPECT_TRUE(workspace.ModifiedModules().empty());

  // Only a module never saved goes to the folder of the last design-file dialog.
  workspace.New();
  Edit("untitle");
  workspace.Save();
  EXPECT_TRUE(fs::exists(folder / "lib" / "untitle.dtn"));
}

// Naming a new instance after a module file that exists gave it an empty module, which Save All
// then wrote over the file.
TEST_F(SavingTest, ANewInstanceNamedAfterAnExistingFileReadsIt) {
  temp.Write("inv2.dtn", "//pelkor file\nshift[1,0,0,0,1,2]{\n01}\nmodule[2,0,0]{\nleaf}\n");
  temp.Write("leaf.dtn", kOneRegister);
  const int id = library().currentModule().AddInstance({});
  ui.names.push_back("inv2");
  workspace.EnterInstance(id);  // an unnamed instance asks for its module
  EXPECT_EQ(sink.lines,
            (std::vector<std::string>{"inv2.dtnを読み込みました", "leaf.dtnを読み込みました"}));
  EXPECT_EQ(library().ModuleByName("inv2").shiftRegisters.size(), 1u);
  EXPECT_EQ(library().rootInstance().Child(id).Child(2).name, "leaf");
  EXPECT_FALSE(workspace.IsModified("inv2"));

  workspace.SaveAll();
  EXPECT_EQ(RegistersIn(folder / "inv2.dtn"), 1u);
  EXPECT_TRUE(ui.overwriteQuestions.empty());
}

// What each file at risk asks, and that nothing is asked for a file as pelkor left it.
TEST_F(SavingTest, SaveAllAsksBeforeWritingOverAFileAtRisk) {
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> behindPelkor;  // done to sub.dtn after opening
    std::optional<FileRisk> risk;                       // nullopt: no question
  };
  const auto writeSub = [](const std::string& bytes) {
    return [bytes](const fs::path& sub) { testing::WriteBytes(sub, bytes); };
  };
  const Case cases[] = {
      {"unchanged", [](const fs::path&) {}, std::nullopt},
      {"changed", writeSub("//pelkor file\n"), FileRisk::kChangedOnDisk},
      {"same size, other bytes", writeSub("//pelkor file\nshift[1,0,0,0,1,2]{\n10}\n"),
       FileRisk::kChangedOnDisk},
      {"deleted", [](const fs::path& sub) { fs::remove(sub); }, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui.overwriteQuestions.clear();
    OpenHierarchy();
    Edit("sub");
    c.behindPelkor(folder / "design" / "sub.dtn");
    workspace.SaveAll();
    if (!c.risk) {
      EXPECT_TRUE(ui.overwriteQuestions.empty());
      EXPECT_EQ(RegistersIn(folder / "design" / "sub.dtn"), 2u);
      continue;
    }
    ASSERT_EQ(ui.overwriteQuestions.size(), 1u);
    const OverwriteQuestion& asked = ui.overwriteQuestions[0];
    EXPECT_EQ(asked.path, folder / "design" / "sub.dtn");
    EXPECT_EQ(asked.risk, *c.risk);
    EXPECT_TRUE(asked.canSkip);
    EXPECT_NE(asked.text.find(asked.path.string()), std::string::npos);
    // Cancelled, as the ask answers by default: the file stays as it was, the change unsaved.
    EXPECT_NE(RegistersIn(folder / "design" / "sub.dtn"), 2u);
    EXPECT_TRUE(workspace.IsModified("sub"));
  }
}

// Each answer to the question does what it says, and Save All goes on or stops accordingly.
TEST_F(SavingTest, TheAnswersToTheOverwriteQuestion) {
  struct Case {
    OverwriteAnswer answer;
    std::size_t registersInA;  // in a.dtn afterwards
    bool topSaved;             // whether "top", saved after "a", was written
  };
  const Case cases[] = {
      {OverwriteAnswer::kOverwrite, 1, true},
      {OverwriteAnswer::kSkip, 0, true},
      {OverwriteAnswer::kCancel, 0, false},
      {OverwriteAnswer::kSaveAs, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.answer));
    fs::remove(folder / "design" / "a.dtn");
    OpenHierarchy();
    const int id = library().currentModule().AddInstance({});
    ui.names.push_back("a");
    workspace.EnterInstance(id);
    temp.Write("design/a.dtn", "//pelkor file\n");  // a file pelkor never read appears
    Edit("a");
    Edit("top");
    ui.overwriteAnswers = {c.answer};
    ui.files = {folder / "copy.dtn"};
    workspace.SaveAll();
    ASSERT_EQ(ui.overwriteQuestions.size(), 1u);
    EXPECT_EQ(ui.overwriteQuestions.back().risk, FileRisk::kNotReadByPelkor);
    ui.overwriteQuestions.clear();
    EXPECT_EQ(RegistersIn(folder / "design" / "a.dtn"), c.registersInA);
    EXPECT_EQ(RegistersIn(folder / "design" / "top.dtn"), c.topSaved ? 1u : 0u);
    // Save As… of a module an instance uses writes a copy; the module keeps its file.
    EXPECT_EQ(RegistersIn(folder / "copy.dtn"), c.answer == OverwriteAnswer::kSaveAs ? 1u : 0u);
    EXPECT_EQ(workspace.IsModified("a"), c.answer != OverwriteAnswer::kOverwrite);
    fs::remove(folder / "copy.dtn");
  }
}

// A damaged file opened showed no sign, and Save rewrote it with only what was read.
TEST_F(SavingTest, AFileReadInPartIsMarkedAndSavedOverOnlyWhenTheUserSaysSo) {
  const std::string damaged =
      "//pelkor file\nshift[1,0,0,0,1,2]{\n01}\n\x01\x02 noise\n"
      "shift[2,0,0,0,1,2]{\n}\n";
  temp.Write("hurt.dtn", damaged);
  EXPECT_EQ(workspace.OpenFile(folder / "hurt.dtn"), OpenResult::kLoadFailed);
  EXPECT_EQ(workspace.WindowTitle(), "hurt（一部読み込めず） - pelkor");

  workspace.Save();  // cancelled
  ASSERT_EQ(ui.overwriteQuestions.size(), 1u);
  EXPECT_EQ(ui.overwriteQuestions[0].risk, FileRisk::kDamaged);
  EXPECT_FALSE(ui.overwriteQuestions[0].canSkip);
  EXPECT_EQ(testing::ReadBytes(folder / "hurt.dtn"), damaged);

  ui.overwriteAnswers = {OverwriteAnswer::kOverwrite};
  workspace.Save();
  EXPECT_EQ(RegistersIn(folder / "hurt.dtn"), 2u);
  EXPECT_EQ(workspace.WindowTitle(), "hurt - pelkor");
  workspace.Save();  // written whole now: no question
  EXPECT_EQ(ui.overwriteQuestions.size(), 2u);
}

// The "*" went away while a simulation ran, though nothing was saved.
TEST_F(SavingTest, TheTitleKeepsItsMarkWhileSimulating) {
  ASSERT_EQ(workspace.OpenFile(fs::path(PELKOR_EXAMPLES) / "full_adder.dtn"), OpenResult::kOpened);
  Edit("full_adder");
  workspace.Check();
  ASSERT_TRUE(workspace.IsSimulating());
  EXPECT_EQ(workspace.WindowTitle(), "full_adder* - pelkor");
}

}  // namespace
}  // namespace pelkor
