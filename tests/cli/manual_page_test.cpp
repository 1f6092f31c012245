// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "support/temp_folder.h"

namespace pelkor {
namespace {

// The page's roff without fonts and escapes.
std::string PlainManual() {
  std::string text = testing::ReadBytes(PELKOR_CLI_MANUAL);
  text = std::regex_replace(text, std::regex(R"(\\f[BIR])"), "");
  text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
  return text;
}

// What a section of the help lists: the first word of each of its lines.
std::vector<std::string> Listed(const std::string& help, const std::string& section) {
  std::vector<std::string> words;
  std::istringstream in(help);
  bool inSection = false;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] != ' ') {
      inSection = line == section + ":";
      continue;
    }
    std::istringstream lineIn(line);
    std::string first;
    lineIn >> first;
    if (inSection && line.rfind("  ", 0) == 0 && line[2] != ' ')
      words.push_back(first);
  }
  return words;
}

// The words of the lines that head the entries of a list: "-o", "--output", "FILE", ...
std::set<std::string> HeadingWords(const std::string& manual) {
  std::set<std::string> words;
  std::istringstream in(manual);
  bool heading = false;
  for (std::string line; std::getline(in, line);) {
    if (heading) {
      std::istringstream lineIn(std::regex_replace(line, std::regex(","), " "));
      for (std::string word; lineIn >> word;)
        words.insert(word);
    }
    heading = line == ".TP";
  }
  return words;
}

std::vector<std::string> Names(const std::string& listed) {
  std::vector<std::string> names;
  std::istringstream in(listed);
  for (std::string name; std::getline(in, name, ',');)
    names.push_back(name);
  return names;
}

// The page is made from the help at build time; what the help of every command shows, the
// page must hold.
TEST(ManualPageTest, HoldsEveryCommandOptionVariableAndExitStatusOfTheHelp) {
  const std::string manual = PlainManual();
  const std::set<std::string> headings = HeadingWords(manual);
  const std::string help = testing::RunCliBinary("--help").out;
  std::vector<std::string> commands = Listed(help, "Subcommands");
  ASSERT_EQ(commands.size(), 8u) << help;
  commands.insert(commands.begin(), "");
  for (const std::string& command : commands) {
    SCOPED_TRACE(command);
    const std::string own = testing::RunCliBinary(command + " --help").out;
    if (!command.empty()) {
      EXPECT_NE(manual.find(".SS " + command + "\n"), std::string::npos);
    }
    for (const std::string& listed : Listed(own, "Options"))
      for (const std::string& name : Names(listed))
        EXPECT_TRUE(headings.contains(name)) << name;
    for (const std::string& positional : Listed(own, "Positionals"))
      EXPECT_TRUE(headings.contains(positional) || headings.contains("[" + positional + "...]") ||
                  headings.contains(positional + "..."))
          << positional;
    // The variables --shard auto reads are named in the help of test.
    const std::regex variable("[A-Z]+_[A-Z_]+");
    for (auto it = std::sregex_iterator(own.begin(), own.end(), variable);
         it != std::sregex_iterator(); ++it)
      EXPECT_TRUE(headings.contains(it->str())) << it->str();
  }
  // "Exit status: 0 success; 1 a sink failed its expectation; ..."
  const std::regex status(R"((?:: |; )(\d+) ([^;.]+))");
  const std::string footer = help.substr(help.find("Exit status:"));
  int statuses = 0;
  for (auto it = std::sregex_iterator(footer.begin(), footer.end(), status);
       it != std::sregex_iterator(); ++it, ++statuses)
    EXPECT_NE(manual.find(".TP\n" + (*it)[1].str() + "\n" + (*it)[2].str()), std::string::npos)
        << it->str();
  EXPECT_EQ(statuses, 6);
}

TEST(ManualPageTest, ManReadsItWithoutAWarning) {
  if (testing::RunShell("command -v man >/dev/null").status != 0)
    GTEST_SKIP() << "man is not installed";
  const auto result = testing::RunShell(std::string("MANWIDTH=80 man --warnings -E UTF-8 -l ") +
                                        PELKOR_CLI_MANUAL + " 2>&1 >/dev/null");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "");
}

}  // namespace
}  // namespace pelkor
