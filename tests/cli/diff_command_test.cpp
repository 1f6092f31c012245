// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "cli_runner.h"
#include "support/temp_folder.h"

namespace pelkor {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = PELKOR_EXAMPLES;

// full_adder.dtn with its first source moved down by 20 and the sink "sum" renamed "s".
std::string EditedAdder() {
  std::string text = testing::ReadBytes(kExamples / "full_adder.dtn");
  const auto replace = [&](const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  };
  replace("uhzi[7,40,60,", "uhzi[7,40,80,");
  replace(",sum]", ",s]");
  return text;
}

const std::string kEditedLines =
    "moved source 7/7 (40,60) -> (40,80)\n"
    "changed sink 10/10: name \"sum\" -> \"s\"\n";

class DiffCommandTest : public ::testing::Test {
 protected:
  std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

  testing::TempFolder temp;
  const fs::path& folder = temp.path();
  const fs::path adder = kExamples / "full_adder.dtn";
};

TEST_F(DiffCommandTest, AnswersAsDiffDoes) {
  const fs::path edited = temp.Write("edited.dtn", EditedAdder());
  // Rewritten by fmt as UTF-8: other bytes, the same design.
  const fs::path rewritten = folder / "rewritten.dtn";
  ASSERT_EQ(testing::RunCliBinary("fmt " + adder.string() + " -o " + rewritten.string() +
                                  " --encoding utf-8")
                .status,
            0);
  const std::string shift = "//pelkor file\nshift[1,0,0,0,1,2]{\n}\n";
  const fs::path malformed = temp.Write("bad.dtn", shift + "shift[2,0,0,0,1,2,7]{\n}\n");
  const fs::path passedOver = temp.Write("odd.dtn", shift + "wire[2]{\n}\n");
  struct Case {
    std::string arguments;
    int status;
    std::string out;
  };
  const Case cases[] = {
      {adder.string() + " " + adder.string(), 0, ""},
      {adder.string() + " " + rewritten.string(), 0, ""},
      {adder.string() + " " + edited.string(), 1, kEditedLines},
      {adder.string() + " " + (folder / "none.dtn").string(), 2,
       "pelkor-cli: cannot open " + (folder / "none.dtn").string() + "\n"},
      {malformed.string() + " " + adder.string(), 2,
       "pelkor-cli: " + malformed.string() +
           ": ロードに失敗しましたcomma（4〜5行目を読み飛ばしました）\n"},
      {adder.string() + " " + passedOver.string(), 2,
       "pelkor-cli: " + passedOver.string() + ": 「wire」は不明なレコードなので無視しました\n" +
           "pelkor-cli: " + passedOver.string() +
           ": not compared, the records passed over would be missed\n"},
      {adder.string(), 2, "pelkor-cli: diff: give two design files, OLD and NEW\n"},
      {adder.string() + " " + adder.string() + " --frobnicate", 2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const auto result = testing::RunCliBinary("diff " + c.arguments, true);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.out.substr(0, c.out.size()), c.out);
  }
}

TEST_F(DiffCommandTest, JsonHoldsTheSameChangesWithTheirValues) {
  const fs::path edited = temp.Write("edited.dtn", EditedAdder());
  const auto result = testing::RunCliBinary("diff --json " + Quoted(adder) + " " + Quoted(edited));
  EXPECT_EQ(result.status, 1);
  const nlohmann::json json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["before"], adder.string());
  EXPECT_EQ(json["after"], edited.string());
  const nlohmann::json expected = nlohmann::json::parse(R"([
    {"change": "moved", "kind": "source", "before": 7, "after": 7,
     "positionBefore": [40, 60], "positionAfter": [40, 80], "fields": []},
    {"change": "changed", "kind": "sink", "before": 10, "after": 10,
     "positionBefore": [520, 100], "positionAfter": [520, 100],
     "fields": [{"field": "name", "before": "sum", "after": "s"}]}])");
  EXPECT_EQ(json["changes"], expected);
}

TEST_F(DiffCommandTest, DrawsTheNewerVersionWithTheChangesMarked) {
  const fs::path edited = temp.Write("edited.dtn", EditedAdder());
  const fs::path svg = folder / "diff.svg";
  const auto result = testing::RunCliBinary("diff " + Quoted(adder) + " " + Quoted(edited) +
                                            " --svg " + Quoted(svg));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, kEditedLines);
  const std::string picture = testing::ReadBytes(svg);
  EXPECT_NE(picture.find("<svg"), std::string::npos);
  EXPECT_NE(picture.find("#e69600"), std::string::npos) << "the changed sink in amber";
  EXPECT_NE(picture.find("#6e6e6e"), std::string::npos) << "the moved source's old place";
  const auto unwritable = testing::RunCliBinary(
      "diff " + Quoted(adder) + " " + Quoted(edited) + " --svg " + Quoted(folder / "no/x.svg"),
      true);
  EXPECT_EQ(unwritable.status, 2);
}

// The README's set-up: a difftool, and a diff driver for `git diff` and `git log -p --ext-diff`.
TEST_F(DiffCommandTest, GitShowsDesignChangesThroughTheDriver) {
  const std::string git = "cd " + Quoted(folder) +
                          " && GIT_CONFIG_GLOBAL=/dev/null GIT_CONFIG_NOSYSTEM=1 "
                          "GIT_AUTHOR_NAME=t GIT_AUTHOR_EMAIL=t@t GIT_COMMITTER_NAME=t "
                          "GIT_COMMITTER_EMAIL=t@t git ";
  const std::string cli = PELKOR_CLI_BINARY;
  ASSERT_EQ(testing::RunShell(git + "init -q").status, 0);
  ASSERT_EQ(testing::RunShell(git + "config diff.pelkor.command '" + cli + " diff --git'").status,
            0);
  ASSERT_EQ(testing::RunShell(git + "config difftool.pelkor.cmd '" + cli +
                              " diff \"$LOCAL\" \"$REMOTE\"'")
                .status,
            0);
  fs::copy_file(adder, folder / "adder.dtn");
  ASSERT_EQ(testing::RunShell(git + "add . && " + git + "commit -qm first").status, 0);
  temp.Write("adder.dtn", EditedAdder());
  temp.Write("new.dtn", "//pelkor file\nshift[1,0,0,0,1,2]{\n}\n");
  ASSERT_EQ(testing::RunShell(git + "add new.dtn").status, 0);

  // The difftool, for a repository without the attribute.
  const auto tool = testing::RunShell(git + "difftool -y -t pelkor HEAD -- adder.dtn 2>&1");
  EXPECT_EQ(tool.out, kEditedLines);

  temp.Write(".gitattributes", "*.dtn diff=pelkor\n");
  const auto diff = testing::RunShell(git + "diff HEAD -- '*.dtn' 2>&1");
  EXPECT_EQ(diff.status, 0);
  EXPECT_EQ(diff.out, "pelkor diff a/adder.dtn b/adder.dtn\n" + kEditedLines +
                          "pelkor diff a/new.dtn b/new.dtn\nadded register -/1 at (0,0)\n");

  ASSERT_EQ(testing::RunShell(git + "commit -qam second").status, 0);
  EXPECT_EQ(testing::RunShell(git + "log -p --ext-diff -1 --format= -- adder.dtn").out,
            "pelkor diff a/adder.dtn b/adder.dtn\n" + kEditedLines);

  // Line ends as another editor leaves them, which only fmt would change, show as nothing.
  std::string lf = EditedAdder();
  std::erase(lf, '\r');
  temp.Write("adder.dtn", lf);
  EXPECT_EQ(testing::RunShell(git + "diff 2>&1").out, "");
  EXPECT_NE(testing::RunShell(git + "diff --no-ext-diff --stat").out, "");
}

}  // namespace
}  // namespace pelkor
