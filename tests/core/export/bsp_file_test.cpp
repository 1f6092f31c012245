// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/bsp_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "bsp_fixtures.h"

namespace pelkor {
namespace {

namespace fs = std::filesystem;
using bsp_fixtures::Expected;
using bsp_fixtures::ReadBytes;
using Reason = BspExportError::Reason;

class BspFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           ("pelkor_bsp_" + std::string(test->name()) + "_" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::set<std::string> FilesInDir() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  // Runs the export, expecting it to stop with `reason`; returns the log line.
  std::string FailingExport(const fs::path& mainFile, const Module& module, Reason reason) {
    try {
      WriteBsp(mainFile, module);
    } catch (const BspExportError& error) {
      EXPECT_EQ(error.reason(), reason);
      return error.what();
    }
    ADD_FAILURE() << "export to " << mainFile << " reported success";
    return {};
  }

  fs::path dir_;
};

TEST_F(BspFileTest, WritesTheSampleFileByteForByte) {
  WriteBsp(dir_ / "sample.bsp", bsp_fixtures::SampleModule());
  EXPECT_EQ(ReadBytes(dir_ / "sample.bsp"), Expected("sample.bsp"));
  EXPECT_EQ(FilesInDir(), (std::set<std::string>{"sample.bsp"}));
}

TEST_F(BspFileTest, WritesSubModuleFilesBesideTheMainFile) {
  WriteBsp(dir_ / "hierarchy.bsp", bsp_fixtures::HierarchyModule());
  EXPECT_EQ(FilesInDir(), (std::set<std::string>{"hierarchy.bsp", "state2.bsp", "count4.bsp"}));
  EXPECT_EQ(ReadBytes(dir_ / "hierarchy.bsp"), Expected("hierarchy.bsp"));
  EXPECT_EQ(ReadBytes(dir_ / "state2.bsp"), Expected("state2.bsp"));
  EXPECT_EQ(ReadBytes(dir_ / "count4.bsp"), Expected("count4.bsp"));
}

TEST_F(BspFileTest, ExistingFilesAreReplaced) {
  std::ofstream(dir_ / "sample.bsp") << std::string(5000, 'x');
  WriteBsp(dir_ / "sample.bsp", bsp_fixtures::SampleModule());
  EXPECT_EQ(ReadBytes(dir_ / "sample.bsp"), Expected("sample.bsp"));
}

TEST_F(BspFileTest, MainFileThatCannotBeOpenedWritesNothing) {
  fs::create_directory(dir_ / "taken.bsp");
  const fs::path mainFile = dir_ / "taken.bsp";
  EXPECT_EQ(FailingExport(mainFile, bsp_fixtures::HierarchyModule(), Reason::kCannotOpenMainFile),
            mainFile.string() + "をオープンできません");
  EXPECT_EQ(FilesInDir(), (std::set<std::string>{"taken.bsp"}));
}

TEST_F(BspFileTest, SubModuleFileThatCannotBeOpenedEndsTheExportAfterItsLine) {
  fs::create_directory(dir_ / "state2.bsp");
  EXPECT_EQ(FailingExport(dir_ / "hierarchy.bsp", bsp_fixtures::HierarchyModule(),
                          Reason::kCannotOpenSubModuleFile),
            "state2.bspをオープンできません");

  const std::string full = Expected("hierarchy.bsp");
  const std::string lastLine = "module[8,state2]\r\n";
  EXPECT_EQ(ReadBytes(dir_ / "hierarchy.bsp"),
            full.substr(0, full.find(lastLine) + lastLine.size()));
  EXPECT_FALSE(fs::exists(dir_ / "count4.bsp"));
}

TEST_F(BspFileTest, ExportNamedLikeItsOwnSubModuleDoesNotOverwriteItself) {
  const std::string log = FailingExport(dir_ / "state2.bsp", bsp_fixtures::HierarchyModule(),
                                        Reason::kCannotOpenSubModuleFile);
  EXPECT_EQ(log, "state2.bspをオープンできません");
  const std::string written = ReadBytes(dir_ / "state2.bsp");
  EXPECT_TRUE(written.starts_with(
      "=== DRAVU Objects Data Ver.2.00 ===\r\n.section[root]{\r\nmodule[state2]"));
  EXPECT_TRUE(written.ends_with("module[8,state2]\r\n"));
}

TEST_F(BspFileTest, WriteFailureIsReportedNotTakenForSuccess) {
  if (!fs::exists("/dev/full"))
    GTEST_SKIP() << "no /dev/full to fail the write";
  EXPECT_EQ(FailingExport("/dev/full", bsp_fixtures::SampleModule(), Reason::kWriteFailed),
            "/dev/fullに書き込めませんでした");
}

Module ModuleWithSourceNamed(const std::string& name) {
  Module module;
  module.AddSource(bsp_fixtures::Source({0, 0}, name));
  return module;
}

TEST_F(BspFileTest, TextIsCp932WhenItFitsAndUtf8Otherwise) {
  WriteBsp(dir_ / "jp.bsp", ModuleWithSourceNamed("入力"));
  const std::string cp932 = ReadBytes(dir_ / "jp.bsp");
  EXPECT_NE(cp932.find("}[\x93\xfc\x97\xcd]\r\n"), std::string::npos);
  EXPECT_EQ(cp932.find("入力"), std::string::npos);

  WriteBsp(dir_ / "emoji.bsp", ModuleWithSourceNamed("入力😀"));
  EXPECT_NE(ReadBytes(dir_ / "emoji.bsp").find("}[入力😀]\r\n"), std::string::npos);
}

}  // namespace
}  // namespace pelkor
