// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli_runner.h"
#include "support/temp_folder.h"

namespace pelkor {
namespace {

namespace fs = std::filesystem;

class FmtCommandTest : public ::testing::Test {
 protected:
  fs::path Write(const std::string& name, const std::string& bytes) {
    return temp.Write(name, bytes);
  }

  testing::TempFolder temp;
  const fs::path& folder = temp.path();
};

TEST_F(FmtCommandTest, RewritesInCanonicalFormKeepingTheEncoding) {
  // LF line ends and a blank line before a record; a Japanese sink name in UTF-8.
  const fs::path design = Write("a.dtn",
                                "//pelkor file\nshift[1,10,20,0,1,2]{\n01}\n\n"
                                "kemmakix[2,30,40,0,0,出力]{\n}\narc[1,2]{}\n");
  const auto result = testing::RunCliBinary("fmt " + design.string());
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(testing::ReadBytes(design),
            "//pelkor file\r\nshift[1,10,20,0,1,2]{\r\n01}\r\n"
            "kemmakix[2,30,40,0,0,出力]{\r\n}\r\narc[1,2]{}\r\n");
}

TEST_F(FmtCommandTest, WritesCp932OnRequestToAnotherFile) {
  const fs::path design = Write("a.dtn", "//pelkor file\r\nmodule[1,0,0]{\r\n加算}\r\n");
  const fs::path output = folder / "b.dtn";
  const auto result = testing::RunCliBinary("fmt " + design.string() + " -o " + output.string() +
                                            " --encoding cp932");
  EXPECT_EQ(result.status, 0);
  // 加算 in CP932 is 89 C1 8E 5A.
  EXPECT_EQ(testing::ReadBytes(output), "//pelkor file\r\nmodule[1,0,0]{\r\n\x89\xC1\x8E\x5A}\r\n");
  EXPECT_EQ(testing::ReadBytes(design), "//pelkor file\r\nmodule[1,0,0]{\r\n加算}\r\n");
}

TEST_F(FmtCommandTest, AMalformedFileIsLeftUntouched) {
  const std::string bytes = "//pelkor file\r\nshift[1,0,0,0,1,2,7]{\r\n}\r\n";
  const fs::path design = Write("bad.dtn", bytes);
  const auto result = testing::RunCliBinary("fmt " + design.string(), true);
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.out.find("ロードに失敗しましたcomma"), std::string::npos);
  EXPECT_EQ(testing::ReadBytes(design), bytes);
}

// Tried as a new user would: fmt gave back a file with one register fewer, and exit status 0.
TEST_F(FmtCommandTest, BlankLineBeforeTheSecondRegisterDoesNotLoseIt) {
  const fs::path design = Write("a.dtn",
                                "//pelkor file\r\nshift[1,0,0,0,1,2]{\r\n}\r\n\r\n"
                                "  shift[2,0,0,0,1,2]{\r\n}\r\n");
  EXPECT_EQ(testing::RunCliBinary("fmt " + design.string()).status, 0);
  EXPECT_EQ(testing::ReadBytes(design),
            "//pelkor file\r\nshift[1,0,0,0,1,2]{\r\n}\r\nshift[2,0,0,0,1,2]{\r\n}\r\n");
}

TEST_F(FmtCommandTest, AFileWithARecordPassedOverIsLeftUntouched) {
  struct Case {
    const char* bytes;
    const char* message;
  };
  const Case cases[] = {
      {"shift[1,0,0,0,1,2]{\n}\nshfit[2,0,0,0,1,2]{\n}\n",
       "「shfit」は不明なレコードなので無視しました"},
      {"shift[1,0,0,0,1,2]{\n}\n// two\nshift[2,0,0,0,1,2]{\n}\n",
       "ロードに失敗しました（4行目を読み飛ばしました）"},
      {"shift[1,0,0,0,1,2]{\n}\nshift[2,0,0,0,1,2]{\n01",
       "「shift」のレコードは途中で終わっているので無視しました"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    const fs::path design = Write("a.dtn", std::string("//pelkor file\n") + c.bytes);
    const auto result = testing::RunCliBinary("fmt " + design.string(), true);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.out.find(c.message), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("not rewritten"), std::string::npos);
    EXPECT_EQ(testing::ReadBytes(design), std::string("//pelkor file\n") + c.bytes);
  }
}

// A damaged file is rewritten only on request, with the records that were read.
TEST_F(FmtCommandTest, ForceWritesWhatWasReadOfADamagedFile) {
  const std::string damaged =
      "//pelkor file\nshift[1,0,0,0,1,2]{\n01}\n#{junk\ncount[2,0,0,1]{\nx = a b;}\n"
      "shift[3,0,0,0,1,2,9]{\n}\nuhzi[4,0,0,0,0,0,a]{\n1}\n";
  const std::string kept =
      "//pelkor file\r\nshift[1,0,0,0,1,2]{\r\n01}\r\ncount[2,0,0,1]{\r\nx = a b;}\r\n"
      "uhzi[3,0,0,0,0,0,a]{\r\n1}\r\n";
  const std::string told = "ロードに失敗しました（4行目を読み飛ばしました）\n";
  for (const bool force : {false, true}) {
    SCOPED_TRACE(force);
    const fs::path design = Write("a.dtn", damaged);
    const auto result =
        testing::RunCliBinary("fmt " + design.string() + (force ? " --force" : ""), true);
    EXPECT_NE(result.out.find(told), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("ロードに失敗しました正規化：セミコロンが無い（5〜6行目のレコード）"),
              std::string::npos);
    EXPECT_NE(result.out.find("ロードに失敗しましたcomma（7〜8行目を読み飛ばしました）"),
              std::string::npos);
    EXPECT_EQ(result.out.find("not rewritten, what was passed over would be lost (--force "
                              "writes it anyway)") != std::string::npos,
              !force);
    EXPECT_EQ(result.status, force ? 0 : 2);
    EXPECT_EQ(testing::ReadBytes(design), force ? kept : damaged);
  }
}

// An output file that exists is no file fmt read: it is written over only on request.
TEST_F(FmtCommandTest, AnOutputFileThatExistsIsWrittenOverOnlyWithForce) {
  const fs::path design = Write("a.dtn", "//pelkor file\r\nshift[1,0,0,0,1,2]{\r\n}\r\n");
  for (const bool force : {false, true}) {
    SCOPED_TRACE(force);
    const fs::path output = Write("b.dtn", "someone's design\n");
    const auto result = testing::RunCliBinary(
        "fmt " + design.string() + " -o " + output.string() + (force ? " --force" : ""), true);
    EXPECT_EQ(result.status, force ? 0 : 73);
    EXPECT_EQ(result.out.find("not written, a file is there that was not read (--force writes "
                              "it anyway)") != std::string::npos,
              !force)
        << result.out;
    EXPECT_EQ(testing::ReadBytes(output),
              force ? testing::ReadBytes(design) : std::string("someone's design\n"));
  }
}

TEST_F(FmtCommandTest, UsageAndMissingFiles) {
  EXPECT_EQ(testing::RunCliBinary("fmt " + (folder / "none.dtn").string()).status, 66);
  EXPECT_EQ(testing::RunCliBinary("fmt").status, 64);
  EXPECT_EQ(testing::RunCliBinary("frobnicate x").status, 64);
  EXPECT_EQ(testing::RunCliBinary("fmt a.dtn --encoding latin1").status, 64);
  const auto help = testing::RunCliBinary("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("export"), std::string::npos);
  const auto version = testing::RunCliBinary("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("pelkor-cli ", 0), 0u);
}

}  // namespace
}  // namespace pelkor
