// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "cli_runner.h"
#include "support/temp_folder.h"

namespace pelkor {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = PELKOR_EXAMPLES;

// An XML file as Python's parser (expat) reads it, which refuses anything not well-formed:
// {"tag", "attrib", "text", "children"} for each element.
nlohmann::json ParseXml(const fs::path& file) {
  const char* script =
      "import json, sys, xml.etree.ElementTree as T\n"
      "def c(e): return {\"tag\": e.tag, \"attrib\": e.attrib, \"text\": e.text or \"\", "
      "\"children\": [c(x) for x in e]}\n"
      "print(json.dumps(c(T.parse(sys.argv[1]).getroot())))\n";
  const auto result =
      testing::RunShell(std::string("python3 -c '") + script + "' " + file.string());
  EXPECT_EQ(result.status, 0) << "not well-formed XML: " << testing::ReadBytes(file);
  return result.status == 0 ? nlohmann::json::parse(result.out) : nlohmann::json();
}

// The JUnit structure CI servers read: a testsuites root whose counts add up those of its
// test suites, each counting its own test cases; the suites by name.
std::map<std::string, nlohmann::json> CheckedSuites(const nlohmann::json& root) {
  EXPECT_EQ(root["tag"], "testsuites");
  std::map<std::string, int> total;
  std::map<std::string, nlohmann::json> suites;
  for (const nlohmann::json& suite : root["children"]) {
    EXPECT_EQ(suite["tag"], "testsuite");
    std::map<std::string, int> counts;
    for (const nlohmann::json& testCase : suite["children"]) {
      EXPECT_EQ(testCase["tag"], "testcase");
      EXPECT_FALSE(testCase["attrib"]["name"].get<std::string>().empty());
      EXPECT_FALSE(testCase["attrib"]["classname"].get<std::string>().empty());
      ++counts["tests"];
      for (const nlohmann::json& outcome : testCase["children"]) {
        const std::string tag = outcome["tag"];
        EXPECT_TRUE(tag == "failure" || tag == "error" || tag == "skipped") << tag;
        EXPECT_TRUE(outcome["attrib"].contains("message"));
        ++counts[tag == "failure" ? "failures" : tag == "error" ? "errors" : "skipped"];
      }
    }
    for (const char* count : {"tests", "failures", "errors", "skipped"}) {
      EXPECT_EQ(suite["attrib"][count], std::to_string(counts[count])) << suite["attrib"]["name"];
      total[count] += counts[count];
    }
    EXPECT_NO_THROW(std::stod(suite["attrib"]["time"].get<std::string>()));
    suites[suite["attrib"]["name"]] = suite;
  }
  for (const char* count : {"tests", "failures", "errors", "skipped"})
    EXPECT_EQ(root["attrib"][count], std::to_string(total[count]));
  return suites;
}

// The word at the start of each design's line ("PASS", "FAIL", "ERROR", "SKIP"), by path.
std::map<std::string, std::string> VerdictLines(const std::string& out) {
  std::map<std::string, std::string> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    const std::size_t space = line.find(' ');
    const std::string word = line.substr(0, space);
    if (word != "PASS" && word != "FAIL" && word != "ERROR" && word != "SKIP")
      continue;
    const std::size_t start = line.find_first_not_of(' ', space);
    const std::string rest = line.substr(start);
    const std::string path = rest.substr(0, rest.find(": "));
    EXPECT_TRUE(lines.emplace(path, word).second) << "listed twice: " << path;
  }
  return lines;
}

std::string Summary(const std::string& out) {
  std::string text = out;
  while (!text.empty() && text.back() == '\n')
    text.pop_back();
  return text.substr(text.rfind('\n') + 1);
}

class TestCommandTest : public ::testing::Test {
 protected:
  fs::path Write(const std::string& name, const std::string& bytes) {
    return temp.Write(name, bytes);
  }
  fs::path CopyExample(const std::string& example, const std::string& name) {
    fs::copy_file(kExamples / (example + ".dtn"), folder / name);
    return folder / name;
  }

  testing::TempFolder temp;
  const fs::path& folder = temp.path();
};

TEST_F(TestCommandTest, ExamplesPassWithAJunitReport) {
  const fs::path junit = folder / "report.xml";
  const auto result =
      testing::RunCliBinary("test " + kExamples.string() + " --junit " + junit.string());
  EXPECT_EQ(result.status, 0) << result.out;
  const std::map<std::string, std::string> lines = VerdictLines(result.out);
  const std::map<std::string, nlohmann::json> suites = CheckedSuites(ParseXml(junit));

  int files = 0;
  for (const auto& entry : fs::directory_iterator(kExamples)) {
    if (entry.path().extension() != ".dtn")
      continue;  // the Python testbench's folder
    const std::string path = entry.path().lexically_normal().string();
    SCOPED_TRACE(path);
    ++files;
    ASSERT_TRUE(lines.contains(path));
    ASSERT_TRUE(suites.contains(path));
    const nlohmann::json& suite = suites.at(path);
    if (lines.at(path) == "SKIP")
      continue;
    EXPECT_EQ(lines.at(path), "PASS");
    // One passing test case for each sink that `run` gives a verdict.
    const auto run = testing::RunCliBinary("run " + path + " --report json --quiet");
    std::set<std::string> judged;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    for (const auto& sink : report["sinks"]) {
      if (sink["verdict"] != "none") {
        judged.insert(sink["path"].get<std::string>() + " sink " + sink["id"].dump() + " \"" +
                      sink["name"].get<std::string>() + "\"");
      }
    }
    std::set<std::string> cases;
    for (const auto& testCase : suite["children"]) {
      cases.insert(testCase["attrib"]["name"].get<std::string>());
      EXPECT_TRUE(testCase["children"].empty());
    }
    EXPECT_EQ(cases, judged);
  }
  EXPECT_EQ(lines.size(), static_cast<std::size_t>(files));
  // The modules the examples load expect nothing of their own.
  EXPECT_EQ(lines.at((kExamples / "inverter.dtn").string()), "SKIP");
  EXPECT_EQ(lines.at((kExamples / "pipe.dtn").string()), "SKIP");
  EXPECT_NE(Summary(result.out).find("0 failed, 0 errors"), std::string::npos);

  // The workers' order of finishing does not show.
  EXPECT_EQ(testing::RunCliBinary("test " + kExamples.string() + " -j 1").out, result.out);
  EXPECT_EQ(testing::RunCliBinary("test " + kExamples.string() + " -j 3").out, result.out);
}

TEST_F(TestCommandTest, FailingUnloadableAndSkippedDesigns) {
  CopyExample("full_adder", "pass.dtn");
  std::string failing = testing::ReadBytes(CopyExample("counter_divider", "fail.dtn"));
  failing.replace(failing.find("001001}"), 7, "010010}");
  Write("fail.dtn", failing);
  Write("comma.dtn", "//pelkor file\nshift[1,0,0,0,1,2,5]{\n}\n");
  Write("nothing.dtn",
        "//pelkor file\nuhzi[1,0,0,0,0,0,]{\n1}\nkemmakix[2,0,0,0,0,]{\n}\n"
        "shift[3,0,0,0,1,2]{\n}\narc[1,3]{}\narc[3,2]{}\n");
  CopyExample("double_inverter", "twice.dtn");
  CopyExample("inverter", "inverter.dtn");
  // A top module that expects nothing itself, over a sub-module that does: both run.
  Write("probe.dtn",
        "//pelkor file\nuhzi[1,0,0,0,0,0,]{\n10}\nshift[2,0,0,0,1,2]{\n}\n"
        "kemmakix[3,0,0,0,0,seen]{\n10}\narc[1,2]{}\narc[2,3]{}\n");
  Write("host.dtn", "//pelkor file\nmodule[1,0,0]{\nprobe}\n");

  const fs::path junit = folder / "out" / "report.xml";
  fs::create_directory(folder / "out");
  const auto result =
      testing::RunCliBinary("test " + folder.string() + " --junit " + junit.string());
  EXPECT_EQ(result.status, 2);
  const std::map<std::string, std::string> expected = {
      {"comma.dtn", "ERROR"},   {"fail.dtn", "FAIL"},    {"host.dtn", "PASS"},
      {"inverter.dtn", "SKIP"}, {"nothing.dtn", "SKIP"}, {"pass.dtn", "PASS"},
      {"probe.dtn", "PASS"},    {"twice.dtn", "PASS"}};
  std::map<std::string, std::string> lines;
  for (const auto& [path, word] : VerdictLines(result.out))
    lines[fs::path(path).filename().string()] = word;
  EXPECT_EQ(lines, expected) << result.out;
  EXPECT_NE(result.out.find("nothing.dtn: expects nothing\n"), std::string::npos);
  EXPECT_NE(result.out.find("inverter.dtn: a sub-module that expects nothing\n"),
            std::string::npos);
  EXPECT_NE(result.out.find("      ロードに失敗しましたcomma（2〜3行目を読み飛ばしました）\n"),
            std::string::npos);
  EXPECT_EQ(Summary(result.out), "8 designs: 4 passed, 1 failed, 1 error, 2 skipped");

  const std::map<std::string, nlohmann::json> suites = CheckedSuites(ParseXml(junit));
  ASSERT_EQ(suites.size(), 8u);
  const nlohmann::json& failed = suites.at((folder / "fail.dtn").string());
  EXPECT_EQ(failed["attrib"]["failures"], "1");
  const nlohmann::json& failure = failed["children"][0]["children"][0];
  EXPECT_EQ(failed["children"][0]["attrib"]["name"], "fail sink 5 \"divided\"");
  EXPECT_EQ(failure["attrib"]["message"].get<std::string>().rfind(
                "received 001001, expected 010010, first mismatch at step ", 0),
            0u);
  EXPECT_NE(failure["text"].get<std::string>().find("received: 001001\nexpected: 010010\n"),
            std::string::npos);
  const nlohmann::json& error = suites.at((folder / "comma.dtn").string())["children"][0];
  EXPECT_NE(
      error["children"][0]["attrib"]["message"].get<std::string>().find("could not be loaded"),
      std::string::npos);
  EXPECT_EQ(suites.at((folder / "nothing.dtn").string())["attrib"]["skipped"], "1");

  // Without the design that cannot be loaded, a failing sink gives exit status 1.
  fs::remove(folder / "comma.dtn");
  EXPECT_EQ(testing::RunCliBinary("test " + folder.string()).status, 1);
  fs::remove(folder / "fail.dtn");
  EXPECT_EQ(testing::RunCliBinary("test " + folder.string()).status, 0);
  // A file given by name is taken whatever its name; nothing to run is no failure.
  const fs::path odd = folder / "design.txt";
  fs::copy_file(folder / "pass.dtn", odd);
  EXPECT_EQ(testing::RunCliBinary("test " + odd.string()).out.rfind("PASS  " + odd.string(), 0),
            0u);
  EXPECT_EQ(Summary(testing::RunCliBinary("test " + (folder / "nothing.dtn").string()).out),
            "1 design: 0 passed, 0 failed, 0 errors, 1 skipped");
}

TEST_F(TestCommandTest, MarkupAndWindowsFileNamesMakeWellFormedXml) {
  // A file name in CP932 bytes (加) and a sink name full of markup.
  Write("\x89\xC1.dtn",
        "//pelkor file\nuhzi[1,0,0,0,0,0,]{\n1}\nshift[2,0,0,0,1,2]{\n}\n"
        "kemmakix[3,0,0,0,0,<a href=\"x\">&amp;\t'</a>]{\n0}\narc[1,2]{}\narc[2,3]{}\n");
  const fs::path junit = folder / "report.xml";
  EXPECT_EQ(testing::RunCliBinary("test " + folder.string() + " --junit " + junit.string()).status,
            1);
  const std::map<std::string, nlohmann::json> suites = CheckedSuites(ParseXml(junit));
  ASSERT_EQ(suites.size(), 1u);
  const nlohmann::json& suite = suites.begin()->second;
  EXPECT_EQ(suite["attrib"]["name"], (folder / "加.dtn").generic_string());
  EXPECT_EQ(suite["children"][0]["attrib"]["name"], "加 sink 3 \"<a href=\"x\">&amp;\t'</a>\"");
}

TEST_F(TestCommandTest, EachDesignRunsOnceHoweverItIsReached) {
  CopyExample("full_adder", "adder.dtn");
  fs::create_directory(folder / "sub");
  CopyExample("full_adder", "sub/ADDER.DTN");
  fs::create_directory_symlink(folder / "sub", folder / "link");  // not followed
  const auto result = testing::RunCliBinary("test " + folder.string() + " " + folder.string() +
                                            "/./adder.dtn " + (folder / "sub").string());
  EXPECT_EQ(result.status, 0);
  const std::map<std::string, std::string> expected = {
      {(folder / "adder.dtn").string(), "PASS"}, {(folder / "sub/ADDER.DTN").string(), "PASS"}};
  EXPECT_EQ(VerdictLines(result.out), expected) << result.out;
}

TEST_F(TestCommandTest, ShardsTogetherRunEachDesignExactlyOnce) {
  const std::map<std::string, std::string> all =
      VerdictLines(testing::RunCliBinary("test " + kExamples.string()).out);
  for (const int count : {1, 2, 3, 9}) {
    SCOPED_TRACE(count);
    std::map<std::string, std::string> joined;
    std::vector<int> ran;
    for (int index = 1; index <= count; ++index) {
      const auto result =
          testing::RunCliBinary("test " + kExamples.string() + " --shard " + std::to_string(index) +
                                "/" + std::to_string(count));
      EXPECT_EQ(result.status, 0);
      int run = 0;
      for (const auto& [path, word] : VerdictLines(result.out)) {
        EXPECT_TRUE(joined.emplace(path, word).second) << path << " in two shares";
        run += word != "SKIP";
      }
      ran.push_back(run);
    }
    EXPECT_EQ(joined, all);
    EXPECT_LE(*std::max_element(ran.begin(), ran.end()) - *std::min_element(ran.begin(), ran.end()),
              1);
  }
}

TEST_F(TestCommandTest, BadArgumentsNameWhatIsAllowed) {
  struct Case {
    const char* arguments;
    const char* message;
  };
  const Case cases[] = {
      {"test --shard 0/2", "--shard: 0/2 is not K/N with 1 <= K <= N"},
      {"test --shard 3/2", "is not K/N"},
      {"test --shard 2", "is not K/N"},
      {"test --shard a/b", "is not K/N"},
      {"test -j 0", "--jobs: 0 is not a whole number from 1 to 1024"},
      {"test --max-steps -3",
       "--max-steps: -3 is not a whole number from 1 to "
       "9223372036854775807"},
      {"run a.dtn --max-steps 0",
       "--max-steps: 0 is not a whole number from 1 to "
       "9223372036854775807"},
      {"run a.dtn --max-steps 1e3", "is not a whole number"},
      {"run a.dtn --max-steps 9223372036854775808", "is not a whole number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const auto result = testing::RunCliBinary(c.arguments, true);
    EXPECT_EQ(result.status, 64);
    EXPECT_NE(result.out.find(c.message), std::string::npos) << result.out;
    EXPECT_LT(result.out.size(), 200u);
  }
  const auto missing = testing::RunCliBinary("test " + (folder / "none").string(), true);
  EXPECT_EQ(missing.status, 66);
  EXPECT_EQ(missing.out, "pelkor-cli: cannot open " + (folder / "none").string() + "\n");
}

}  // namespace
}  // namespace pelkor
