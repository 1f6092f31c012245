// SPDX-License-Identifier: GPL-3.0-or-later
// `pelkor-cli serve` as a process: lines in, one reply line out for each request.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/serve_command.h"
#include "cli_runner.h"
#include "support/temp_folder.h"

namespace pelkor {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

TEST(ServeCommandTest, LinesAreReadUpToTheirEndsWithinTheLimit) {
  struct Case {
    std::string input;
    std::vector<std::string> lines;  // "!" for a line too long
  };
  const Case cases[] = {
      {"", {}},
      {"a\nb\n", {"a", "b"}},
      {"a\r\nb", {"a", "b"}},  // CR LF, and a last line without an end
      {"\n\n", {"", ""}},
      {"12345\n123456\n1234567\nx", {"12345", "123456", "!", "x"}},
      {"1234567", {"!"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    std::istringstream in(c.input);
    std::vector<std::string> lines;
    std::string line = "left over";
    for (cli::LineRead read; (read = cli::ReadLine(*in.rdbuf(), line, 6)) != cli::LineRead::kEnd;)
      lines.push_back(read == cli::LineRead::kTooLong ? "!" : line);
    EXPECT_EQ(lines, c.lines);
  }
}

TEST(ServeCommandTest, EveryRequestGetsOneReplyLineUntilTheInputEndsOrClose) {
  struct Case {
    std::string input;
    std::vector<json> ids;  // of the replies, in order
  };
  const Case cases[] = {
      {"", {}},
      {R"({"id":1,"cmd":"version"})", {1}},  // no line end at the end
      {"\n  \n{\"id\":1,\"cmd\":\"version\"}\n\n{\"id\":2,\"cmd\":\"state\"}\n", {1, 2}},
      {"}{\n{\"id\":2,\"cmd\":\"version\"}\n", {nullptr, 2}},
      {"{\"id\":1,\"cmd\":\"version\",\"args\":{\"n\":123456789}}\n{\"id\":2,\"cmd\":\"version\"}"
       "\n",
       {nullptr, 2}},
      {"{\"id\":1,\"cmd\":\"close\"}\n{\"id\":2,\"cmd\":\"version\"}\n", {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    std::istringstream in(c.input);
    std::ostringstream out;
    EXPECT_EQ(cli::ServeCommand(in, out, 40), 0);  // 40 bytes a line at most
    std::istringstream replies(out.str());
    std::vector<json> ids;
    for (std::string line; std::getline(replies, line);)
      ids.push_back(json::parse(line)["id"]);
    EXPECT_EQ(ids, c.ids);
  }
}

// The real program through a pipe.
TEST(ServeCommandTest, TheProgramAnswersThroughPipesAndEndsWithItsInput) {
  testing::TempFolder temp;
  const std::string design = fs::path(PELKOR_EXAMPLES) / "full_adder.dtn";
  const fs::path requests = temp.Write(
      "requests.jsonl", "{\"id\":1,\"cmd\":\"open\",\"args\":{\"file\":\"" + design +
                            "\"}}\n{\"id\":2,\"cmd\":\"check\"}\n{\"id\":3,\"cmd\":\"run\"}\n"
                            "{\"id\":4,\"cmd\":\"log\"}\n");
  const testing::CliResult result =
      testing::RunShell("(cat " + requests.string() + " | " + PELKOR_CLI_BINARY + " serve)");
  EXPECT_EQ(result.status, 0);
  std::istringstream replies(result.out);
  std::vector<json> lines;
  for (std::string line; std::getline(replies, line);)
    lines.push_back(json::parse(line));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2]["result"]["end"], "idle");
  // The log lines reach the client in a reply, never as lines of their own.
  EXPECT_EQ(lines[3]["result"]["lines"][0], "full_adderを読み込みました");
}

}  // namespace
}  // namespace pelkor
