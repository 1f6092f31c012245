// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli_runner.h"
#include "support/temp_folder.h"

namespace pelkor {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = PELKOR_EXAMPLES;

// The JSON report: the last line of standard output.
nlohmann::json ReportOf(const std::string& out) {
  std::string text = out;
  while (!text.empty() && text.back() == '\n')
    text.pop_back();
  return nlohmann::json::parse(text.substr(text.rfind('\n') + 1));
}

class RunCommandTest : public ::testing::Test {
 protected:
  fs::path Write(const std::string& name, const std::string& bytes) {
    return temp.Write(name, bytes);
  }

  testing::TempFolder temp;
  const fs::path& folder = temp.path();
};

TEST_F(RunCommandTest, EveryExamplePassesItsExpectations) {
  for (const char* name :
       {"full_adder", "counter_divider", "double_inverter", "demultiplexer", "dynamic_pipe"}) {
    SCOPED_TRACE(name);
    const auto result = testing::RunCliBinary(
        "run " + (kExamples / (std::string(name) + ".dtn")).string() + " --report json");
    EXPECT_EQ(result.status, 0);
    const nlohmann::json report = ReportOf(result.out);
    EXPECT_TRUE(report["idle"].get<bool>());
    int passed = 0;
    for (const auto& sink : report["sinks"]) {
      EXPECT_NE(sink["verdict"], "fail") << sink.dump();
      passed += sink["verdict"] == "pass";
    }
    EXPECT_GE(passed, 1);
  }
}

TEST_F(RunCommandTest, TheReportNamesEverySinkOfEveryLiveNode) {
  const auto result = testing::RunCliBinary("run " + (kExamples / "double_inverter.dtn").string() +
                                            " --report json");
  const nlohmann::json report = ReportOf(result.out);
  ASSERT_EQ(report["sinks"].size(), 3u);
  EXPECT_EQ(report["sinks"][0], (nlohmann::json{{"path", "double_inverter"},
                                                {"id", 5},
                                                {"name", "twice"},
                                                {"received", "0110"},
                                                {"expected", "0110"},
                                                {"verdict", "pass"},
                                                {"firstMismatchStep", nullptr}}));
  EXPECT_EQ(report["sinks"][1]["path"], "double_inverter/6");
  EXPECT_EQ(report["sinks"][2]["path"], "double_inverter/7");
  EXPECT_EQ(report["sinks"][2]["verdict"], "none");  // a port sink expects nothing
  // The log lines come first, exactly as the desktop log window shows them.
  EXPECT_EQ(result.out.rfind("double_inverterを読み込みました\ninverter.dtnを読み込みました\n"
                             "チェック完了\nシミュレーションを開始します\n",
                             0),
            0u);
}

TEST_F(RunCommandTest, AFailingSinkExitsWithOne) {
  fs::copy_file(kExamples / "counter_divider.dtn", folder / "divider.dtn");
  std::ifstream in(folder / "divider.dtn", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::string design = text.str();
  design.replace(design.find("001001}"), 7, "010010}");
  Write("divider.dtn", design);
  const auto result = testing::RunCliBinary("run " + (folder / "divider.dtn").string());
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find("received 001001, expected 010010: fail"), std::string::npos);
}

// The first mismatch is the step whose trace line first shows the sink's values departing
// from the expectation, or none when they only fall short.
TEST_F(RunCommandTest, TheReportGivesTheStepOfEachSinksFirstMismatch) {
  const std::string original = testing::ReadBytes(kExamples / "counter_divider.dtn");
  for (const char* expectation : {"010010", "001000", "0010011", "0010", "1"}) {
    SCOPED_TRACE(expectation);
    std::string design = original;
    design.replace(design.find("001001}"), 6, expectation);
    const fs::path file = Write("divider.dtn", design);
    const fs::path trace = folder / "trace.jsonl";
    const auto result =
        testing::RunCliBinary("run " + file.string() + " --report json --trace " + trace.string());
    EXPECT_EQ(result.status, 1);
    const nlohmann::json sink = ReportOf(result.out)["sinks"][0];
    ASSERT_EQ(sink["verdict"], "fail");

    const std::string expected = expectation;
    nlohmann::json departed;  // null until a trace line shows values off the expectation
    std::ifstream in(trace);
    for (std::string line; departed.is_null() && std::getline(in, line);) {
      const nlohmann::json state = nlohmann::json::parse(line);
      const std::string received = state["nodes"][0]["sinks"]["5"];
      if (expected.compare(0, received.size(), received) != 0 || received.size() > expected.size())
        departed = state["step"];
    }
    EXPECT_EQ(sink["firstMismatchStep"], departed);

    const auto text = testing::RunCliBinary("run " + file.string());
    const std::size_t arrived = sink["received"].get<std::string>().size();
    const std::string tail = departed.is_null()
                                 ? "only " + std::to_string(arrived) + " of " +
                                       std::to_string(expected.size()) + " values arrived"
                                 : "first mismatch at step " + departed.dump();
    EXPECT_NE(text.out.find(": fail, " + tail + "\n"), std::string::npos) << text.out;
  }
}

TEST_F(RunCommandTest, QuietLeavesOutTheLogButNotTheReportOrErrors) {
  const std::string design = (kExamples / "full_adder.dtn").string();
  const std::string report = testing::RunCliBinary("run " + design + " --quiet").out;
  const std::string full = testing::RunCliBinary("run " + design).out;
  // The report is what follows the log lines.
  ASSERT_GT(full.size(), report.size());
  EXPECT_EQ(full.substr(full.size() - report.size()), report);
  EXPECT_NE(full.find("full_adderを読み込みました"), std::string::npos);
  EXPECT_EQ(report.find("を読み込みました"), std::string::npos);
  EXPECT_EQ(testing::RunCliBinary("-q run " + design).out, report);
  EXPECT_EQ(testing::RunCliBinary("check -q " + design).out, "");

  const fs::path comma = Write("comma.dtn", "//pelkor file\nshift[1,0,0,0,1,2,5]{\n}\n");
  const auto failed = testing::RunCliBinary("check --quiet " + comma.string(), true);
  EXPECT_EQ(failed.status, 2);
  EXPECT_EQ(failed.out,
            "pelkor-cli: " + comma.string() + ": the design could not be loaded completely\n");
}

TEST_F(RunCommandTest, ARunThatNeverGoesIdleStopsAtTheStepLimit) {
  // A held source feeding a sink moves a token in every step.
  const fs::path design = Write("forever.dtn",
                                "//pelkor file\nshift[1,0,0,0,1,2]{\n}\n"
                                "uhzi[2,0,0,1,0,0,]{\n1}\nkemmakix[3,0,0,0,0,]{\n}\n"
                                "arc[2,1]{}\narc[1,3]{}\n");
  const auto result =
      testing::RunCliBinary("run " + design.string() + " --max-steps 40 --report json");
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.out.find("ステップ数が上限（40）に達しました"), std::string::npos);
  const nlohmann::json report = ReportOf(result.out);
  EXPECT_EQ(report["steps"], 40);
  EXPECT_FALSE(report["idle"].get<bool>());
  EXPECT_EQ(report["sinks"][0]["verdict"], "none");
}

TEST_F(RunCommandTest, TraceHasOneLinePerStepFromTheCheckOn) {
  const fs::path trace = folder / "trace.jsonl";
  const auto result = testing::RunCliBinary("run " + (kExamples / "counter_divider.dtn").string() +
                                            " --trace " + trace.string() + " --report json");
  ASSERT_EQ(result.status, 0);
  const int steps = ReportOf(result.out)["steps"];
  std::ifstream in(trace);
  std::vector<nlohmann::json> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(static_cast<int>(lines.size()), steps + 1);
  for (int i = 0; i <= steps; ++i)
    EXPECT_EQ(lines[i]["step"], i);

  const nlohmann::json& start = lines[0]["nodes"][0];
  EXPECT_EQ(start["path"], "counter_divider");
  EXPECT_EQ(start["registers"], (nlohmann::json{{"1", "-"}, {"2", "-"}}));
  EXPECT_EQ(start["counters"]["3"], (nlohmann::json{{"remaining", 3}, {"ready", false}}));
  EXPECT_EQ(start["sources"]["4"], "111111");
  EXPECT_EQ(lines[1]["nodes"][0]["sources"]["4"], "11111");
  EXPECT_EQ(lines[1]["nodes"][0]["registers"]["1"], "1");
  EXPECT_EQ(lines.back()["nodes"][0]["sinks"]["5"], "001001");
  EXPECT_FALSE(lines.back()["active"].get<bool>());
}

TEST_F(RunCommandTest, WaveformsAreReadByGtkwave) {
  const fs::path vcd = folder / "run.vcd";
  const auto result = testing::RunCliBinary("run " + (kExamples / "dynamic_pipe.dtn").string() +
                                            " --vcd " + vcd.string());
  ASSERT_EQ(result.status, 0);
  const std::string convert =
      "vcd2fst " + vcd.string() + " " + (folder / "run.fst").string() + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(convert.c_str()), 0);
  const std::string back = "fst2vcd " + (folder / "run.fst").string() + " > " +
                           (folder / "back.vcd").string() + " 2>/dev/null";
  ASSERT_EQ(std::system(back.c_str()), 0);
  std::ifstream in(folder / "back.vcd");
  std::stringstream text;
  text << in.rdbuf();
  // The created instance has a scope of its own under the top module.
  EXPECT_NE(text.str().find("$scope module dynamic_pipe $end"), std::string::npos);
  EXPECT_NE(text.str().find("$scope module 9 $end"), std::string::npos);
  EXPECT_NE(text.str().find("sink8"), std::string::npos);
}

// The save file shows every wire of the dump, each under the group of its node.
TEST_F(RunCommandTest, VcdComesWithAGtkwaveSaveFileShowingEveryWire) {
  const fs::path vcd = folder / "run.vcd";
  ASSERT_EQ(testing::RunCliBinary("run " + (kExamples / "dynamic_pipe.dtn").string() + " --vcd " +
                                  vcd.string())
                .status,
            0);
  std::vector<std::string> wires;  // scope.scope.name
  std::vector<std::string> scopes;
  std::istringstream dump(testing::ReadBytes(vcd));
  for (std::string keyword, word; dump >> keyword;) {
    if (keyword == "$scope") {
      dump >> word >> word;
      scopes.push_back(word);
    } else if (keyword == "$upscope") {
      scopes.pop_back();
    } else if (keyword == "$var") {
      std::string name;
      dump >> word >> word >> word >> name;
      std::string full;
      for (const std::string& scope : scopes)
        full += scope + ".";
      wires.push_back(full + name);
    }
  }
  ASSERT_FALSE(wires.empty());
  std::istringstream save(testing::ReadBytes(folder / "run.gtkw"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(save, line);)
    lines.push_back(line);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[1], "[dumpfile] \"" + fs::absolute(vcd).string() + "\"");
  std::vector<std::string> traces;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(traces), [](const std::string& l) {
    return !l.empty() && l[0] != '@' && l[0] != '-' && l[0] != '[';
  });
  EXPECT_EQ(traces, wires);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "-dynamic_pipe/9"), lines.end());
}

// Stopping at the first mismatch ends the run at the step the report names for it.
TEST_F(RunCommandTest, StopAtMismatchEndsTheRunAtTheReportedStep) {
  const std::string original = testing::ReadBytes(kExamples / "counter_divider.dtn");
  for (const char* expectation : {"010010", "0010011", "1", "001001"}) {
    SCOPED_TRACE(expectation);
    std::string design = original;
    design.replace(design.find("001001}"), 6, expectation);
    const fs::path file = Write("divider.dtn", design);
    const auto full = testing::RunCliBinary("run " + file.string() + " --report json");
    const nlohmann::json step = ReportOf(full.out)["sinks"][0]["firstMismatchStep"];
    const auto stopped =
        testing::RunCliBinary("run " + file.string() + " --report json --stop-at-mismatch");
    EXPECT_EQ(stopped.status, full.status);
    const nlohmann::json report = ReportOf(stopped.out);
    if (step.is_null()) {
      EXPECT_EQ(report, ReportOf(full.out));
      continue;
    }
    EXPECT_EQ(report["steps"], step);
    EXPECT_FALSE(report["idle"].get<bool>());
    EXPECT_NE(stopped.out.find("dividerのケムマキ5<divided>がステップ" + step.dump() +
                               "で期待と異なる値を受け取りました\n一時停止\n"),
              std::string::npos)
        << stopped.out;
  }
}

// --explain adds the objects that hold tokens and cannot move: a source whose register no one
// reads, and the register.
TEST_F(RunCommandTest, ExplainAddsTheBlockedObjectsToTheReport) {
  const fs::path file = Write("stuck.dtn",
                              "//pelkor file\nshift[1,100,100,0,1,2]{\n}\nuhzi[2,40,100,0,0,0,]{\n"
                              "111}\narc[2,1]{}\n");
  const auto text = testing::RunCliBinary("run " + file.string() + " --explain");
  EXPECT_EQ(text.status, 0);
  EXPECT_NE(text.out.find("\nblocked: stuck シフトレジスタ1: 出口のトークンを取るものがありません "
                          "[no-consumer]\nblocked: stuck ウージ2: "),
            std::string::npos)
      << text.out;

  const auto json = testing::RunCliBinary("run " + file.string() + " --report json --explain");
  const nlohmann::json blocked = ReportOf(json.out)["blocked"];
  ASSERT_EQ(blocked.size(), 2u) << json.out;
  EXPECT_EQ(blocked[0], (nlohmann::json{{"path", "stuck"},
                                        {"id", 1},
                                        {"kind", "register"},
                                        {"code", "no-consumer"},
                                        {"reason", "出口のトークンを取るものがありません"}}));
  EXPECT_EQ(blocked[1]["kind"], "source");
  EXPECT_EQ(blocked[1]["code"], "source-unread");
  EXPECT_FALSE(ReportOf(testing::RunCliBinary("run " + file.string() + " --report json").out)
                   .contains("blocked"));
}

TEST_F(RunCommandTest, FailuresEndWithTheirExitStatus) {
  // Two input arcs named alike fail the check of a state machine.
  const fs::path badCheck = Write(
      "twice.dtn",
      "//pelkor file\nshift[1,0,0,0,1,2]{\n}\nshift[2,0,0,0,1,2]{\n}\nshift[3,0,0,0,1,2]{\n}\n"
      "state[4,0,0,1]{\nsub[1,0,0]{\n{y = a;}\n{}}\n}\narc[1,4]{a}\narc[2,4]{a}\narc[4,3]{y}\n");
  auto result = testing::RunCliBinary("check " + badCheck.string());
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.out.find("入力アーク本数と入力アークの名前数が等しくない"), std::string::npos);
  EXPECT_NE(result.out.find("シミュレーション停止"), std::string::npos);
  EXPECT_EQ(testing::RunCliBinary("run " + badCheck.string()).status, 2);

  EXPECT_EQ(testing::RunCliBinary("check " + (kExamples / "full_adder.dtn").string()).status, 0);
  EXPECT_EQ(testing::RunCliBinary("check " + (folder / "none.dtn").string()).status, 66);
  EXPECT_EQ(testing::RunCliBinary("run " + (folder / "none.dtn").string()).status, 66);

  const fs::path comma = Write("comma.dtn", "//pelkor file\nshift[1,0,0,0,1,2,5]{\n}\n");
  result = testing::RunCliBinary("check " + comma.string());
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.out.find("ロードに失敗しましたcomma"), std::string::npos);

  // A token on a dynamic instance's input before its "new" raises condition 100.
  Write("pipe.dtn",
        "//pelkor file\nshift[1,0,0,0,1,2]{\n}\nuhzi[2,0,0,0,0,0,new]{\n}\n"
        "uhzi[3,0,0,0,0,0,x]{\n}\nkemmakix[4,0,0,0,0,]{\n}\n"
        "arc[2,1]{}\narc[3,1]{}\narc[1,4]{}\n");
  const fs::path early = Write("early.dtn",
                               "//pelkor file\nshift[1,0,0,0,1,2]{\n}\nuhzi[2,0,0,0,0,0,]{\n1}\n"
                               "module[3,0,0]{\npipe}\narc[2,1]{}\narc[1,3]{x}\n");
  result = testing::RunCliBinary("run " + early.string());
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.out.find("newされる前に入力が起こりました"), std::string::npos);

  EXPECT_EQ(testing::RunCliBinary("run a.dtn --max-steps 0").status, 64);
  EXPECT_EQ(testing::RunCliBinary("run a.dtn --report xml").status, 64);
}

TEST_F(RunCommandTest, ARecordPassedOverIsNamedInTheLog) {
  const fs::path design =
      Write("a.dtn", "//pelkor file\nshift[1,0,0,0,1,2]{\n}\nregister[2,0,0,0,1,2]{\n}\n");
  const auto result = testing::RunCliBinary("check " + design.string());
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(
      result.out.rfind("「register」は不明なレコードなので無視しました\naを読み込みました\n", 0),
      0u);
}

TEST_F(RunCommandTest, ExportWritesTheTopModule) {
  const fs::path out = folder / "adder.bsp";
  auto result = testing::RunCliBinary("export " + (kExamples / "full_adder.dtn").string() + " " +
                                      out.string());
  EXPECT_EQ(result.status, 0);
  std::ifstream in(out, std::ios::binary);
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, "=== DRAVU Objects Data Ver.2.00 ===\r");
  std::string second;
  std::getline(in, second);
  std::getline(in, second);
  EXPECT_EQ(second, "module[adder]\r");

  EXPECT_EQ(
      testing::RunCliBinary("export " + (folder / "none.dtn").string() + " " + out.string()).status,
      66);
}

TEST_F(RunCommandTest, AnExportThatCannotWriteNamesTheFileThatFailed) {
  // A folder stands where the demultiplexer's state machine writes its sub-module file.
  fs::create_directory(folder / "state5.bsp");
  const struct {
    const char* design;
    fs::path output;
    fs::path failed;
  } cases[] = {
      {"full_adder.dtn", folder / "missing" / "x.bsp", folder / "missing" / "x.bsp"},
      {"demultiplexer.dtn", folder / "demux.bsp", folder / "state5.bsp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.design);
    const auto result = testing::RunCliBinary(
        "export -q " + (kExamples / c.design).string() + " " + c.output.string(), true);
    EXPECT_EQ(result.status, 73);
    EXPECT_EQ(result.out, "pelkor-cli: cannot write " + c.failed.string() + "\n");
  }
}

}  // namespace
}  // namespace pelkor
