// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/recording_log.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"
#include "support/workspace_probe.h"
#include "workspace/workspace.h"

namespace pelkor {
namespace {

namespace fs = std::filesystem;

// A module file with one instance record per name, numbered from `firstNumber`.
std::string InstancesText(const std::vector<std::string>& moduleNames, int firstNumber = 1) {
  std::string text = "//pelkor file\n";
  int number = firstNumber;
  for (const std::string& name : moduleNames) {
    text += "module[" + std::to_string(number++) + ",40,40]{\n" + name + "}\n";
  }
  return text;
}

class FileCommandsTest : public ::testing::Test {
 protected:
  FileCommandsTest() {
    workspace.AttachLog(&sink);
    workspace.SetDesignFolder(folder);
  }

  void WriteFile(const std::string& name, const std::string& text) { temp.Write(name, text); }
  void Open(const std::string& name) {
    ui.files.push_back(folder / name);
    workspace.Open();
  }
  // A save's log line, which names the folder the file went to.
  std::string SavedLine(const std::string& message) const {
    return message + "をセーブしました（" + folder.string() + "）";
  }
  int Count(const std::string& line) const {
    return static_cast<int>(std::count(sink.lines.begin(), sink.lines.end(), line));
  }

  testing::TempFolder temp;
  const fs::path& folder = temp.path();
  testing::ScriptedUi ui;
  testing::RecordingLog sink;
  Workspace workspace{ui};
};

TEST_F(FileCommandsTest, OpenReadsEveryModuleFileOnceAndGrowsTheTree) {
  WriteFile("A.dtn", InstancesText({"B", "B"}));
  WriteFile("B.dtn", InstancesText({"D"}));
  WriteFile("D.dtn", "//pelkor file\nshift[1,0,0,0,1,2]{\n01}\n");
  Open("A.dtn");

  EXPECT_EQ(sink.lines, (std::vector<std::string>{"Aを読み込みました", "B.dtnを読み込みました",
                                                  "D.dtnを読み込みました"}));
  const RuntimeInstance& root = testing::LibraryOf(workspace).rootInstance();
  EXPECT_EQ(root.name, "A");
  ASSERT_EQ(root.children.size(), 2u);
  for (const auto& [id, b] : root.children) {
    EXPECT_EQ(b->name, "B");
    EXPECT_EQ(b->Child(1).name, "D");
  }
  EXPECT_EQ(workspace.documentTitle(), "A");
  EXPECT_EQ(&testing::LibraryOf(workspace).currentModule(),
            &testing::LibraryOf(workspace).ModuleByName("A"));
  EXPECT_EQ(testing::LibraryOf(workspace).ModuleByName("D").shiftRegisters.size(), 1u);
  EXPECT_EQ(ui.dialogs.at(0).filter, "dtnファイル(*.dtn)|*.dtn||");
}

TEST_F(FileCommandsTest, AModuleContainingItselfIsNotExpanded) {
  WriteFile("A.dtn", InstancesText({"A"}));
  Open("A.dtn");
  const RuntimeInstance& root = testing::LibraryOf(workspace).rootInstance();
  EXPECT_TRUE(root.children.empty());
  EXPECT_TRUE(root.dynamicHost);
  EXPECT_EQ(root.dynamicHostInstance, 1);
  EXPECT_TRUE(testing::LibraryOf(workspace).ModuleByName("A").instances.at(1).absent);

  workspace.EnterInstance(1);
  EXPECT_EQ(sink.lines.back(), "再帰です");
}

// A file named after the empty design's module, as Save writes a new design, opens as any other,
// and no empty "untitle" module stays behind beside an opened design.
TEST_F(FileCommandsTest, OpenLeavesNoPhantomModuleAndReportsMissingFiles) {
  WriteFile("untitle.dtn", "//pelkor file\nshift[1,0,0,0,1,2]{\n01}\n");
  WriteFile("A.dtn", InstancesText({}));
  Open("untitle.dtn");
  EXPECT_EQ(sink.lines, std::vector<std::string>{"untitleを読み込みました"});
  EXPECT_EQ(testing::LibraryOf(workspace).currentModule().shiftRegisters.size(), 1u);
  Open("A.dtn");
  EXPECT_EQ(testing::LibraryOf(workspace).moduleNumbers().size(), 1u);
  EXPECT_TRUE(testing::LibraryOf(workspace).Exists("A"));

  Open("missing.dtn");
  EXPECT_EQ(sink.lines.back(), (folder / "missing.dtn").string() + "をオープン出来ません");
}

TEST_F(FileCommandsTest, AMalformedRecordIsPassedOverAndTheRestOfTheHierarchyLoads) {
  WriteFile("A.dtn", InstancesText({"B"}) + "shift[2,0,0,0,1,2,9]{\n}\nmodule[3,0,0]{\nC}\n");
  WriteFile("B.dtn", InstancesText({}));
  WriteFile("C.dtn", InstancesText({}));
  EXPECT_EQ(workspace.OpenFile(folder / "A.dtn"), OpenResult::kLoadFailed);
  EXPECT_EQ(sink.lines,
            (std::vector<std::string>{"ロードに失敗しましたcomma（4〜5行目を読み飛ばしました）",
                                      "Aを読み込みました", "B.dtnを読み込みました",
                                      "C.dtnを読み込みました"}));
  EXPECT_EQ(testing::LibraryOf(workspace).rootInstance().Child(1).name, "B");
  EXPECT_EQ(testing::LibraryOf(workspace).rootInstance().Child(3).name, "C");
}

TEST_F(FileCommandsTest, AMissingSubModuleAbandonsOnlyThatModulesRemainingInstances) {
  // A -> (B, C); B -> (M, D) where M has no file: D is never read, C still is.
  WriteFile("A.dtn", InstancesText({"B", "C"}));
  WriteFile("B.dtn", InstancesText({"M", "D"}));
  WriteFile("C.dtn", InstancesText({}));
  WriteFile("D.dtn", InstancesText({}));
  Open("A.dtn");
  EXPECT_EQ(Count("M.dtnをオープンできません"), 1);
  EXPECT_EQ(Count("D.dtnを読み込みました"), 0);
  EXPECT_EQ(Count("C.dtnを読み込みました"), 1);
  EXPECT_TRUE(testing::LibraryOf(workspace).rootInstance().Child(1).children.empty());
  EXPECT_EQ(testing::LibraryOf(workspace).rootInstance().Child(2).name, "C");
}

TEST_F(FileCommandsTest, ModuleNamesThatLeaveTheFolderAreNeverOpened) {
  fs::create_directories(folder / "sub");
  WriteFile("evil.dtn", InstancesText({}));
  WriteFile("A.dtn", InstancesText({"../evil"}));
  fs::rename(folder / "A.dtn", folder / "sub" / "A.dtn");
  ui.files.push_back(folder / "sub" / "A.dtn");
  workspace.Open();
  EXPECT_EQ(sink.lines.back(), "../evil.dtnをオープンできません");
  EXPECT_TRUE(testing::LibraryOf(workspace).rootInstance().children.empty());

  // A name typed for an unnamed instance cannot make Save All write outside the folder.
  workspace.New();
  const int id = testing::LibraryOf(workspace).currentModule().AddInstance({});
  ui.names.push_back("../escaped");
  workspace.EnterInstance(id);
  EXPECT_EQ(testing::LibraryOf(workspace).rootInstance().Child(id).name, "../escaped");
  workspace.SaveAll();
  EXPECT_EQ(sink.lines.back(), "ファイルをオープンできませんでした");
  EXPECT_FALSE(fs::exists(folder.parent_path() / "escaped.dtn"));
}

TEST_F(FileCommandsTest, SaveAndSaveAllWriteEveryModuleOfTheTree) {
  WriteFile("A.dtn", InstancesText({"B"}));
  WriteFile("B.dtn", "//pelkor file\nshift[1,10,20,0,1,2]{\n1}\n");
  Open("A.dtn");
  fs::remove(folder / "A.dtn");
  fs::remove(folder / "B.dtn");
  testing::LibraryOf(workspace).CreateModule("unused");

  workspace.Save();
  EXPECT_EQ(sink.lines.back(), SavedLine("A"));
  EXPECT_TRUE(fs::exists(folder / "A.dtn"));

  workspace.SaveAll();
  EXPECT_EQ(sink.lines.back(), SavedLine("B.dtn"));
  EXPECT_EQ(Count(SavedLine("A.dtn")), 1);
  EXPECT_FALSE(fs::exists(folder / "unused.dtn"));

  // What was saved opens again to the same modules.
  const Module savedB = testing::LibraryOf(workspace).ModuleByName("B");
  Open("A.dtn");
  EXPECT_TRUE(testing::LibraryOf(workspace).ModuleByName("B").SameContent(savedB));
}

// The failures are shown too, naming the file and the reason: with the log hidden, a line there
// alone went unseen.
TEST_F(FileCommandsTest, SaveAllIntoAMissingFolderStopsAtTheFirstFileAndShowsWhy) {
  fs::create_directory(folder / "design");
  WriteFile("design/A.dtn", InstancesText({"B"}));
  WriteFile("design/B.dtn", InstancesText({}));
  Open("design/A.dtn");
  testing::LibraryOf(workspace).currentModule().AddShiftRegister({});
  testing::LibraryOf(workspace).currentModule().RecordEdit();
  fs::remove_all(folder / "design");
  workspace.SaveAll();
  EXPECT_EQ(Count("ファイルをオープンできませんでした"), 1);
  EXPECT_EQ(sink.lines.back(), "ファイルをオープンできませんでした");

  workspace.Save();
  EXPECT_EQ(sink.lines.back(), "A.dtnをオープン出来ませんでした");
  const std::string shown = (folder / "design" / "A.dtn").string() +
                            "を保存できませんでした。\nフォルダ" + (folder / "design").string() +
                            "がありません。";
  EXPECT_EQ(ui.saveFailures, (std::vector<std::string>{shown, shown}));
  EXPECT_TRUE(workspace.IsModified("A"));
  EXPECT_EQ(workspace.WindowTitle(), "A* - pelkor");
}

TEST_F(FileCommandsTest, SaveAsAndExportSayWhenTheirFileCannotBeOpened) {
  testing::LibraryOf(workspace).currentModule().AddShiftRegister({});
  const fs::path unwritable = folder / "no such folder" / "copy";
  ui.files.push_back(fs::path(unwritable).replace_extension(".dtn"));
  workspace.SaveAs();
  ui.files.push_back(fs::path(unwritable).replace_extension(".bsp"));
  workspace.ExportBsp();
  ASSERT_EQ(sink.lines.size(), 2u);
  EXPECT_EQ(sink.lines[0], "copy.dtnをオープン出来ませんでした");
  EXPECT_NE(sink.lines[1].find("copy.bsp"), std::string::npos) << sink.lines[1];
  EXPECT_EQ(workspace.documentTitle(), "untitle");
}

TEST_F(FileCommandsTest, ExportOffersTheModuleNameAndGivesANameWithoutExtensionBsp) {
  WriteFile("adder.dtn", "//pelkor file\nshift[1,0,0,0,1,2]{\n}\n");
  Open("adder.dtn");
  fs::create_directory(folder / "out");
  for (const fs::path& typed : {folder / "plain", folder / "out" / "kept.txt"})
    ui.files.push_back(typed);
  workspace.ExportBsp();
  workspace.ExportBsp();
  ASSERT_EQ(ui.dialogs.size(), 3u);
  EXPECT_EQ(ui.dialogs[1].initialName, (folder / "adder.bsp").string());
  EXPECT_EQ(ui.dialogs[1].filter, "ビットシリアルペトリネット(*.bsp)|*.bsp||");
  EXPECT_TRUE(ui.dialogs[1].forSaving);
  EXPECT_TRUE(fs::is_regular_file(folder / "plain.bsp"));
  EXPECT_FALSE(fs::exists(folder / "plain"));
  EXPECT_TRUE(fs::is_regular_file(folder / "out" / "kept.txt"));  // an extension stays
  // The chosen file's folder is offered next time.
  EXPECT_EQ(ui.dialogs[2].initialName, (folder / "adder.bsp").string());
}

TEST_F(FileCommandsTest, AnExportThatCannotWriteNamesTheFileThatFailed) {
  ASSERT_EQ(workspace.OpenFile(fs::path(PELKOR_EXAMPLES) / "demultiplexer.dtn"),
            OpenResult::kOpened);
  sink.lines.clear();
  const fs::path mainFile = folder / "no such folder" / "demux.bsp";
  ExportOutcome outcome = workspace.ExportBspTo(mainFile);
  EXPECT_EQ(outcome.result, ExportResult::kCannotWrite);
  EXPECT_EQ(outcome.failedFile, mainFile);
  // A folder where the state machine's sub-module file should go.
  fs::create_directory(folder / "state5.bsp");
  outcome = workspace.ExportBspTo(folder / "demux.bsp");
  EXPECT_EQ(outcome.result, ExportResult::kCannotWrite);
  EXPECT_EQ(outcome.failedFile, folder / "state5.bsp");
  EXPECT_EQ(sink.lines, (std::vector<std::string>{mainFile.string() + "をオープンできません",
                                                  "state5.bspをオープンできません"}));
}

// Dropped files open as Open opens them, so that a save writes back where they came from.
TEST_F(FileCommandsTest, DroppedFilesOpenWithTheirHierarchyTheLastStayingOpen) {
  WriteFile("one.dtn", "//pelkor file\nshift[1,0,0,0,1,2]{\n1}\n");
  WriteFile("two.dtn", InstancesText({"B"}));
  WriteFile("B.dtn", InstancesText({}));
  workspace.SetDesignFolder(temp.path() / "elsewhere");
  workspace.DropFiles({folder / "one.dtn", folder / "two.dtn"});
  const ModuleLibrary& library = testing::LibraryOf(workspace);
  EXPECT_EQ(library.rootInstance().name, "two");
  EXPECT_EQ(library.rootInstance().children.size(), 1u);
  EXPECT_EQ(workspace.documentTitle(), "two");
  EXPECT_EQ(workspace.designFolder(), folder);

  workspace.DropFiles({folder / "missing.dtn", folder / "one.dtn"});  // stops at the first
  EXPECT_EQ(testing::LibraryOf(workspace).rootInstance().name, "two");
}

TEST_F(FileCommandsTest, LoadModuleRefusesANameAlreadyLoaded) {
  WriteFile("A.dtn", InstancesText({"B"}));
  WriteFile("B.dtn", "//pelkor file\nshift[1,0,0,0,1,2]{\n1}\n");
  WriteFile("C.dtn", "//pelkor file\nshift[1,0,0,0,1,2]{\n0}\n");
  Open("A.dtn");
  const std::size_t linesBefore = sink.lines.size();

  ui.files.push_back(folder / "B.dtn");
  workspace.LoadModule();
  EXPECT_EQ(sink.lines.back(), "すでに読み込まれています");
  EXPECT_EQ(testing::LibraryOf(workspace).ModuleByName("B").shiftRegisters.size(), 1u);

  ui.files.push_back(folder / "C.dtn");
  workspace.LoadModule();
  EXPECT_EQ(sink.lines.back(), "C.dtnを読み込みました");
  EXPECT_EQ(sink.lines.size(), linesBefore + 2);
  EXPECT_EQ(testing::LibraryOf(workspace).ModuleByName("C").shiftRegisters.size(), 1u);
  EXPECT_EQ(testing::LibraryOf(workspace).rootInstance().children.size(), 1u);
}

TEST_F(FileCommandsTest, LoadIntoInstanceNamesTheInstanceAndGrowsTheTree) {
  WriteFile("B.dtn", InstancesText({"D"}));
  WriteFile("D.dtn", InstancesText({}));
  Module& root = testing::LibraryOf(workspace).currentModule();
  const int first = root.AddInstance({});
  const int second = root.AddInstance({});

  ui.files.push_back(folder / "B.dtn");
  workspace.LoadIntoInstance(first);
  EXPECT_EQ(root.instances.at(first).moduleName, "B");
  EXPECT_EQ(testing::LibraryOf(workspace).rootInstance().Child(first).Child(1).name, "D");

  ui.files.push_back(folder / "B.dtn");  // already registered: no file read, same tree
  workspace.LoadIntoInstance(second);
  EXPECT_EQ(root.instances.at(second).moduleName, "B");
  EXPECT_EQ(testing::LibraryOf(workspace).rootInstance().Child(second).Child(1).name, "D");
  EXPECT_EQ(Count("D.dtnを読み込みました"), 1);

  ui.files.push_back(folder / "nothing.dtn");
  workspace.LoadIntoInstance(second);
  EXPECT_EQ(sink.lines.back(), "モジュールを読み込めません");
}

// Every command that reads a design file refuses one that is no regular file with one line,
// naming the file and why, and reads nothing else in its place.
TEST_F(FileCommandsTest, EveryReadingCommandRefusesWhatIsNoRegularFile) {
  const fs::path fifo = folder / "fifo.dtn";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string refusal = fifo.string() + "はFIFOなので読み込めません";
  auto expectRefused = [&](const char* command, auto run) {
    SCOPED_TRACE(command);
    sink.lines.clear();
    run();
    EXPECT_EQ(sink.lines, std::vector<std::string>{refusal});
  };
  expectRefused("open", [&] { EXPECT_EQ(workspace.OpenFile(fifo), OpenResult::kCannotOpen); });
  expectRefused("drop", [&] { workspace.DropFiles({fifo}); });
  expectRefused("load module", [&] {
    ui.files.push_back(fifo);
    workspace.LoadModule();
  });
  expectRefused("load into an instance", [&] {
    ui.files.push_back(fifo);
    workspace.LoadIntoInstance(testing::LibraryOf(workspace).currentModule().AddInstance({}));
  });
  EXPECT_FALSE(testing::LibraryOf(workspace).Exists("fifo"));

  // A sub-module file: the hierarchy's load fails there, as for a missing file.
  WriteFile("A.dtn", InstancesText({"fifo"}));
  sink.lines.clear();
  EXPECT_EQ(workspace.OpenFile(folder / "A.dtn"), OpenResult::kLoadFailed);
  EXPECT_EQ(sink.lines, (std::vector<std::string>{"Aを読み込みました", refusal}));
}

TEST_F(FileCommandsTest, AHierarchyPastItsLimitStopsLoadingAsAWhole) {
  // A -> (B, C), B -> D: the limit lets A and B in but not D, and C is not read after it.
  WriteFile("A.dtn", InstancesText({"B", "C"}));
  WriteFile("B.dtn", InstancesText({"D"}));
  WriteFile("C.dtn", InstancesText({}));
  WriteFile("D.dtn", InstancesText({"X", "Y", "Z"}));
  const std::uintmax_t limit = fs::file_size(folder / "A.dtn") + fs::file_size(folder / "B.dtn") +
                               fs::file_size(folder / "D.dtn") - 1;
  workspace.SetInputLimits({.hierarchyBytes = limit});
  EXPECT_EQ(workspace.OpenFile(folder / "A.dtn"), OpenResult::kLoadFailed);
  EXPECT_EQ(sink.lines, (std::vector<std::string>{
                            "Aを読み込みました", "B.dtnを読み込みました",
                            (folder / "D.dtn").string() + "で階層のファイルが合わせて" +
                                std::to_string(limit) + "バイトを超えるので読み込みを止めます"}));
  EXPECT_FALSE(testing::LibraryOf(workspace).Exists("C"));

  // The next command starts a hierarchy of its own.
  sink.lines.clear();
  EXPECT_EQ(workspace.OpenFile(folder / "C.dtn"), OpenResult::kOpened);
}

}  // namespace
}  // namespace pelkor
