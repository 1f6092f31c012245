// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/design_file.h"

#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "child_process.h"
#include "support/temp_folder.h"

namespace pelkor {
namespace {

using testing::ReadBytes;
using testing::RunInChild;
using testing::TempFolder;
using testing::WriteBytes;

Module JapaneseModule() {
  Module m;
  SourceTransition source;
  source.name = "入力";
  source.data = "1\r\n0";
  m.AddSource(source);
  ModuleInstance instance;
  instance.moduleName = "半加算器";
  m.AddInstance(instance);
  m.AddArc(1, 2, {}, "入力");
  return m;
}

const std::string kJapaneseText =
    "//pelkor file\n"
    "uhzi[1,0,0,0,0,0,入力]{\n1\n0}\n"
    "module[2,0,0]{\n半加算器}\n"
    "arc[1,2]{入力}\n";

std::string Crlf(const std::string& text) {
  return ToCrLfLineEnds(text);
}

TEST(DesignFileTest, JapaneseTextIsWrittenAsCp932WithCrLf) {
  TempFolder folder;
  ASSERT_EQ(SaveDesignFile(folder / "m.dtn", JapaneseModule()), SaveResult::kSaved);
  EXPECT_EQ(ReadBytes(folder / "m.dtn"), Crlf(*Utf8ToCp932(kJapaneseText)));

  const std::optional<DesignText> read = ReadDesignFile(folder / "m.dtn");
  ASSERT_TRUE(read);
  EXPECT_EQ(read->encoding, TextEncoding::kCp932);
  EXPECT_EQ(read->text, kJapaneseText);
}

TEST(DesignFileTest, TextThatDoesNotFitCp932IsWrittenAsUtf8) {
  TempFolder folder;
  Module m = JapaneseModule();
  m.instances.at(2).moduleName = "半加算器😀";
  ASSERT_EQ(SaveDesignFile(folder / "m.dtn", m), SaveResult::kSaved);
  const std::optional<DesignText> read = ReadDesignFile(folder / "m.dtn");
  ASSERT_TRUE(read);
  EXPECT_EQ(read->encoding, TextEncoding::kUtf8);
  Module back;
  ReadModule(read->text, back);
  EXPECT_EQ(back.instances.at(2).moduleName, "半加算器😀");
  EXPECT_EQ(back.sources.at(1).name, "入力");

  ASSERT_EQ(SaveDesignFile(folder / "u.dtn", JapaneseModule(), TextEncoding::kUtf8),
            SaveResult::kSaved);
  EXPECT_EQ(ReadBytes(folder / "u.dtn"), Crlf(kJapaneseText));
}

TEST(DesignFileTest, BareLfFileReadsLikeCrLf) {
  TempFolder folder;
  WriteBytes(folder / "lf.dtn", *Utf8ToCp932(kJapaneseText));
  WriteBytes(folder / "crlf.dtn", Crlf(*Utf8ToCp932(kJapaneseText)));
  EXPECT_EQ(ReadDesignFile(folder / "lf.dtn")->text, ReadDesignFile(folder / "crlf.dtn")->text);
}

TEST(DesignFileTest, FilesThatCannotBeReadGiveNothingAndAFolderIsRefused) {
  TempFolder folder;
  EXPECT_FALSE(ReadDesignFile(folder / "missing.dtn"));
  EXPECT_THROW(ReadDesignFile(folder.path()), InputRefused);
}

// Saving must never cost the previous file: these pin the faults of writing in place.
class SafeSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    target_ = folder_ / "m.dtn";
    WriteBytes(target_, kOld);
  }
  // The old file is as it was and no temporary file was left behind.
  void ExpectOldFileIntact() {
    EXPECT_EQ(ReadBytes(target_), kOld);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
      ++entries;
    }
    EXPECT_EQ(entries, 1);
  }

  static constexpr const char* kOld = "//pelkor file\r\nmodule[1,0,0]{\r\nold}\r\n";
  TempFolder folder_;
  std::filesystem::path target_;
};

TEST_F(SafeSaveTest, ReplacesTheFileAndKeepsItsPermissions) {
  std::filesystem::permissions(target_, std::filesystem::perms(0640));
  ASSERT_EQ(SaveDesignFile(target_, JapaneseModule()), SaveResult::kSaved);
  EXPECT_EQ(ReadBytes(target_), Crlf(*Utf8ToCp932(kJapaneseText)));
  EXPECT_EQ(std::filesystem::status(target_).permissions(), std::filesystem::perms(0640));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(SafeSaveTest, SavingThroughALinkReplacesTheLinkedFile) {
  const std::filesystem::path link = folder_ / "link.dtn";
  std::filesystem::create_symlink(target_, link);
  ASSERT_EQ(SaveDesignFile(link, JapaneseModule()), SaveResult::kSaved);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadBytes(target_), Crlf(*Utf8ToCp932(kJapaneseText)));
}

TEST_F(SafeSaveTest, FolderThatCannotBeReachedIsReportedAsCannotOpen) {
  // A path below a regular file cannot be created, whatever the user's privileges.
  EXPECT_EQ(SaveDesignFile(target_ / "sub.dtn", JapaneseModule()), SaveResult::kCannotOpen);
  EXPECT_EQ(SaveDesignFile(folder_ / "missing" / "m.dtn", JapaneseModule()),
            SaveResult::kCannotOpen);
  ExpectOldFileIntact();
}

TEST_F(SafeSaveTest, DirectoryInTheWayIsNotReplaced) {
  std::filesystem::create_directory(folder_ / "d.dtn");
  EXPECT_EQ(SaveDesignFile(folder_ / "d.dtn", JapaneseModule()), SaveResult::kCannotOpen);
  EXPECT_TRUE(std::filesystem::is_directory(folder_ / "d.dtn"));
}

TEST_F(SafeSaveTest, ReadOnlyFolderKeepsTheOldFile) {
  // The file itself stays writable: only the folder refuses the temporary file.
  std::filesystem::permissions(target_, std::filesystem::perms(0666));
  std::filesystem::permissions(folder_.path(), std::filesystem::perms(0555));
  // Run unprivileged, so that the permission bits hold even when the tests run as root.
  const int result =
      RunInChild([&] { return static_cast<int>(SaveDesignFile(target_, JapaneseModule())); }, true);
  std::filesystem::permissions(folder_.path(), std::filesystem::perms(0755));
  EXPECT_EQ(result, static_cast<int>(SaveResult::kCannotOpen));
  ExpectOldFileIntact();
}

TEST_F(SafeSaveTest, ReadOnlyFileIsNotReplaced) {
  std::filesystem::permissions(folder_.path(), std::filesystem::perms(0777));
  std::filesystem::permissions(target_, std::filesystem::perms(0444));
  const int result =
      RunInChild([&] { return static_cast<int>(SaveDesignFile(target_, JapaneseModule())); }, true);
  EXPECT_EQ(result, static_cast<int>(SaveResult::kCannotOpen));
  ExpectOldFileIntact();
}

TEST_F(SafeSaveTest, FullDiskKeepsTheOldFileAndReportsTheFailure) {
  // A file-size limit makes writes fail part way, the way a full disk does.
  Module big;
  for (int i = 0; i < 500; ++i)
    big.AddShiftRegister({});
  const int result = RunInChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 1000;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
      return 100;
    return static_cast<int>(SaveDesignFile(target_, big));
  });
  EXPECT_EQ(result, static_cast<int>(SaveResult::kWriteFailed));
  ExpectOldFileIntact();
}

}  // namespace
}  // namespace pelkor
