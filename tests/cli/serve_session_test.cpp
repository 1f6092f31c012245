// SPDX-License-Identifier: GPL-3.0-or-later
// The requests of `pelkor-cli serve` answered in-process, and what they leave on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>
#include <vector>

#include "cli/serve_protocol.h"
#include "cli/serve_session.h"
#include "cli_runner.h"
#include "support/temp_folder.h"

namespace pelkor {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const fs::path kExamples = PELKOR_EXAMPLES;

// Whether every member `wanted` names is in `actual` with the same value, recursively; arrays
// must match element by element.
bool Matches(const json& actual, const json& wanted) {
  if (wanted.is_object()) {
    if (!actual.is_object())
      return false;
    for (const auto& [key, value] : wanted.items()) {
      if (!actual.contains(key) || !Matches(actual[key], value))
        return false;
    }
    return true;
  }
  if (wanted.is_array()) {
    if (!actual.is_array() || actual.size() != wanted.size())
      return false;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
      if (!Matches(actual[i], wanted[i]))
        return false;
    }
    return true;
  }
  return actual == wanted;
}

// A design text changed by replacing one piece of an example.
std::string ExampleWith(const std::string& example, const std::string& from,
                        const std::string& to) {
  std::string text = testing::ReadBytes(kExamples / example);
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class ServeSessionTest : public ::testing::Test {
 protected:
  json Send(const json& request) { return json::parse(session.Handle(request.dump())); }
  json Send(const std::string& command, const json& args = json::object()) {
    return Send(json{{"id", ++lastId}, {"cmd", command}, {"args", args}});
  }
  // The result of a request that must succeed.
  json Result(const std::string& command, const json& args = json::object()) {
    const json reply = Send(command, args);
    EXPECT_TRUE(reply.value("ok", false)) << command << ": " << reply.dump();
    return reply.value("result", json());
  }
  // The error of a request that must fail.
  json Error(const std::string& command, const json& args = json::object()) {
    const json reply = Send(command, args);
    EXPECT_FALSE(reply.value("ok", true)) << command << ": " << reply.dump();
    return reply.value("error", json());
  }
  void OpenAndCheck(const fs::path& design) {
    Result("open", {{"file", design.string()}});
    Result("check");
  }

  testing::TempFolder temp;
  cli::ServeSession session;
  int lastId = 0;
};

// One session, request after request: each reply must hold what the table says.
TEST_F(ServeSessionTest, RequestsGetTheirReplies) {
  const std::string adder = (kExamples / "full_adder.dtn").string();
  const std::string bsp = (temp.path() / "adder.bsp").string();
  struct Exchange {
    std::string request;
    json reply;
  };
  const std::vector<Exchange> exchanges = {
      {R"({"id":1,"cmd":"version"})",
       {{"id", 1}, {"ok", true}, {"result", {{"protocol", cli::kProtocolVersion}}}}},
      {R"({"id":"text","cmd":"version","args":null})", {{"id", "text"}, {"ok", true}}},
      {R"({"cmd":"version"})", {{"id", nullptr}, {"ok", true}}},
      // Lines that are no requests.
      {R"(not json)", {{"id", nullptr}, {"error", {{"code", "parse_error"}}}}},
      {R"({"id":2,"cmd":"version")", {{"id", nullptr}, {"error", {{"code", "parse_error"}}}}},
      {R"([1,2])", {{"id", nullptr}, {"error", {{"code", "invalid_request"}}}}},
      {R"({"id":[3],"cmd":"version"})",
       {{"id", nullptr}, {"error", {{"code", "invalid_request"}}}}},
      {R"({"id":4})", {{"id", 4}, {"error", {{"code", "invalid_request"}}}}},
      {R"({"id":5,"cmd":7})", {{"id", 5}, {"error", {{"code", "invalid_request"}}}}},
      {R"({"id":6,"cmd":"version","args":[1]})",
       {{"id", 6}, {"error", {{"code", "invalid_request"}}}}},
      {R"({"id":7,"cmd":"version","extra":1})",
       {{"id", 7}, {"error", {{"code", "invalid_request"}}}}},
      {R"({"id":8,"cmd":"fly"})", {{"id", 8}, {"error", {{"code", "unknown_command"}}}}},
      {R"({"id":9,"cmd":"version","args":{"verbose":true}})",
       {{"id", 9},
        {"error", {{"code", "invalid_argument"}, {"message", "unknown argument: verbose"}}}}},
      // What needs a debugger.
      {R"({"id":10,"cmd":"back"})", {{"error", {{"code", "not_simulating"}}}}},
      {R"({"id":11,"cmd":"goto","args":{"step":3}})", {{"error", {{"code", "not_simulating"}}}}},
      {R"({"id":12,"cmd":"break"})", {{"error", {{"code", "unsupported"}}}}},
      {R"({"id":13,"cmd":"unbreak"})", {{"error", {{"code", "unsupported"}}}}},
      {R"({"id":14,"cmd":"explain"})", {{"error", {{"code", "unsupported"}}}}},
      // Before a simulation.
      {R"({"id":15,"cmd":"step"})", {{"error", {{"code", "not_simulating"}}}}},
      {R"({"id":16,"cmd":"run"})", {{"error", {{"code", "not_simulating"}}}}},
      {R"({"id":17,"cmd":"state"})", {{"error", {{"code", "not_simulating"}}}}},
      {R"({"id":18,"cmd":"set_source","args":{"id":7,"values":"1"}})",
       {{"error", {{"code", "not_simulating"}}}}},
      {R"({"id":19,"cmd":"expect","args":{"id":10,"values":"1"}})",
       {{"error", {{"code", "not_simulating"}}}}},
      // Opening.
      {R"({"id":20,"cmd":"open"})", {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":21,"cmd":"open","args":{"file":5}})", {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":22,"cmd":"open","args":{"file":""}})", {{"error", {{"code", "invalid_argument"}}}}},
      {json{{"id", 23}, {"cmd", "open"}, {"args", {{"file", adder + std::string(1, '\0')}}}}.dump(),
       {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":24,"cmd":"open","args":{"file":"/no/such/design.dtn"}})",
       {{"error",
         {{"code", "open_failed"}, {"message", "/no/such/design.dtnをオープン出来ません"}}}}},
      {R"({"id":25,"cmd":"open","args":{"file":"/dev/zero"}})",
       {{"error", {{"code", "open_failed"}}}}},
      {json{{"id", 26}, {"cmd", "open"}, {"args", {{"file", adder}}}}.dump(),
       {{"ok", true}, {"result", {{"module", "full_adder"}}}}},
      {R"({"id":27,"cmd":"log"})",
       {{"result",
         {{"lines",
           {"/no/such/design.dtnをオープン出来ません", "/dev/zeroはデバイスなので読み込めません",
            "full_adderを読み込みました"}},
          {"dropped", 0}}}}},
      {R"({"id":28,"cmd":"log"})", {{"result", {{"lines", json::array()}}}}},
      {R"({"id":29,"cmd":"render","args":{"zoom":6}})",
       {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":30,"cmd":"render","args":{"path":"full_adder/9"}})",
       {{"error", {{"code", "not_found"}}}}},
      {R"({"id":31,"cmd":"render","args":{"zoom":1}})",
       {{"result", {{"path", "full_adder"}, {"cut", false}}}}},
      // Checking and stepping.
      {R"({"id":32,"cmd":"check","args":{"again":true}})",
       {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":33,"cmd":"check"})", {{"result", {{"step", 0}}}}},
      {R"({"id":34,"cmd":"step","args":{"n":0}})", {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":35,"cmd":"step","args":{"n":-2}})", {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":36,"cmd":"step","args":{"n":2.5}})", {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":37,"cmd":"step","args":{"n":"2"}})", {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":38,"cmd":"step","args":{"n":18446744073709551615}})",
       {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":39,"cmd":"step"})", {{"result", {{"step", 1}, {"active", true}}}}},
      {R"({"id":40,"cmd":"step","args":{"n":2}})", {{"result", {{"step", 3}}}}},
      // Back and forth: the state of each step again.
      {R"({"id":140,"cmd":"back","args":{"n":2}})", {{"result", {{"step", 1}}}}},
      {R"({"id":141,"cmd":"goto"})", {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":142,"cmd":"goto","args":{"step":0}})", {{"result", {{"step", 0}}}}},
      {R"({"id":143,"cmd":"goto","args":{"step":3}})", {{"result", {{"step", 3}}}}},
      {R"({"id":41,"cmd":"state","args":{"path":"full_adder/1"}})",
       {{"error", {{"code", "not_found"}}}}},
      {R"({"id":42,"cmd":"state","args":{"path":"full_adder"}})",
       {{"result",
         {{"step", 3}, {"nodes", {{{"path", "full_adder"}, {"module", "full_adder"}}}}}}}},
      // Sources and sinks, by ID or by name.
      {R"({"id":43,"cmd":"set_source","args":{"values":"1"}})",
       {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":44,"cmd":"set_source","args":{"id":7,"name":"a","values":"1"}})",
       {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":45,"cmd":"set_source","args":{"id":7,"values":"102"}})",
       {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":46,"cmd":"set_source","args":{"id":7}})",
       {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":47,"cmd":"set_source","args":{"id":10,"values":"1"}})",
       {{"error", {{"code", "not_found"}, {"message", "full_adder has no source 10"}}}}},
      {R"({"id":48,"cmd":"set_source","args":{"name":"sum","values":"1"}})",
       {{"error", {{"code", "not_found"}}}}},
      {R"({"id":49,"cmd":"set_source","args":{"path":"other","name":"a","values":"1"}})",
       {{"error", {{"code", "not_found"}}}}},
      {R"({"id":50,"cmd":"set_source","args":{"name":"a","values":"11","append":true}})",
       {{"result", {{"path", "full_adder"}, {"id", 7}}}}},
      {R"({"id":51,"cmd":"set_source","args":{"id":8,"values":""}})",
       {{"result", {{"id", 8}, {"remaining", ""}}}}},
      {R"({"id":52,"cmd":"expect","args":{"name":"a","values":"1"}})",
       {{"error", {{"code", "not_found"}}}}},
      {R"({"id":53,"cmd":"expect","args":{"name":"sum","values":"0x"}})",
       {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":54,"cmd":"expect","args":{"name":"sum","values":"0110"}})",
       {{"result", {{"id", 10}, {"name", "sum"}, {"expected", "0110"}}}}},
      // Running and reading what it did.
      {R"({"id":55,"cmd":"run","args":{"n":0}})", {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":56,"cmd":"run","args":{"stop_at_mismatch":1}})",
       {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":57,"cmd":"run","args":{"n":2}})",
       {{"result", {{"step", 5}, {"steps", 2}, {"end", "step_limit"}}}}},
      {R"({"id":58,"cmd":"run"})", {{"result", {{"end", "idle"}}}}},
      // Exporting and ending.
      {R"({"id":59,"cmd":"export","args":{"file":"/no/such/folder/x.bsp"}})",
       {{"error", {{"code", "export_failed"}}}}},
      {json{{"id", 60}, {"cmd", "export"}, {"args", {{"file", bsp}}}}.dump(),
       {{"result", {{"file", bsp}, {"module", "full_adder"}}}}},
      {R"({"id":61,"cmd":"close","args":{"now":true}})",
       {{"error", {{"code", "invalid_argument"}}}}},
      {R"({"id":62,"cmd":"close"})", {{"id", 62}, {"ok", true}, {"result", json::object()}}},
  };
  for (const Exchange& exchange : exchanges) {
    SCOPED_TRACE(exchange.request);
    const std::string line = session.Handle(exchange.request);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    const json reply = json::parse(line);
    EXPECT_TRUE(Matches(reply, exchange.reply)) << reply.dump();
    // Every error says what went wrong.
    if (!reply.value("ok", true)) {
      EXPECT_FALSE(reply["error"].value("message", "").empty());
    }
  }
  EXPECT_TRUE(session.closed());
  EXPECT_TRUE(fs::is_regular_file(bsp));
}

// The state after every step is the trace `pelkor-cli run --trace` writes for that step, and
// the sinks at the end are those of its JSON report: the same paths, IDs and verdicts.
TEST_F(ServeSessionTest, StateFollowsTheRunsTraceAndEndsWithItsReport) {
  for (const char* name : {"full_adder", "double_inverter", "dynamic_pipe", "counter_divider"}) {
    SCOPED_TRACE(name);
    const fs::path design = kExamples / (std::string(name) + ".dtn");
    const fs::path trace = temp.path() / (std::string(name) + ".jsonl");
    const auto run = testing::RunCliBinary("run -q --report json --trace " + trace.string() + " " +
                                           design.string());
    const json report = json::parse(run.out);
    std::ifstream traceLines(trace);

    OpenAndCheck(design);
    std::string line;
    for (std::int64_t step = 0; std::getline(traceLines, line); ++step) {
      SCOPED_TRACE(step);
      if (step > 0)
        Result("step");
      const json traced = json::parse(line);
      const json state = Result("state");
      ASSERT_EQ(state["nodes"].size(), traced["nodes"].size());
      for (std::size_t k = 0; k < traced["nodes"].size(); ++k) {
        const json& node = state["nodes"][k];
        json expected = traced["nodes"][k];
        for (const auto& [id, remaining] : expected["sources"].items())
          expected["sources"][id] = {{"remaining", remaining}};
        for (const auto& [id, received] : expected["sinks"].items())
          expected["sinks"][id] = {{"received", received}, {"path", node["path"]}};
        EXPECT_TRUE(Matches(node, expected)) << node.dump() << "\n" << expected.dump();
      }
    }
    json sinks = json::array();
    const json state = Result("state");
    for (const json& node : state["nodes"]) {
      for (const auto& [id, sink] : node["sinks"].items())
        sinks.push_back(sink);
    }
    EXPECT_EQ(sinks, report["sinks"]);
  }
}

TEST_F(ServeSessionTest, FailingStepsAndChecksReplyWithTheSystemsMessages) {
  testing::WriteBytes(temp.path() / "pipe.dtn", testing::ReadBytes(kExamples / "pipe.dtn"));
  // The data reaches the instance before any "new" token.
  const fs::path early =
      temp.Write("early.dtn", ExampleWith("dynamic_pipe.dtn", "uhzi[5,40,60,0,0,0,create]{\r\n1}",
                                          "uhzi[5,40,60,0,0,0,create]{\r\n}"));
  const fs::path unnamed =
      temp.Write("unnamed.dtn", ExampleWith("full_adder.dtn", "arc[1,6]{a}", "arc[1,6]{}"));
  const fs::path missing =
      temp.Write("missing.dtn", ExampleWith("full_adder.dtn", "kemmakix[11",
                                            "module[12,300,300]{\r\nnothere}\r\nkemmakix[11"));

  OpenAndCheck(early);
  Result("log");
  const json stepFailure = Error("step", {{"n", 10}});
  const std::vector<std::string> stepLines = Result("log")["lines"];
  EXPECT_EQ(stepFailure["code"], "step_failed");
  EXPECT_LT(Result("state")["step"], 10);  // the failing step ended the request
  std::string lines;
  for (const std::string& text : stepLines)
    lines += (lines.empty() ? "" : "\n") + text;
  EXPECT_EQ(stepFailure["message"], lines);
  EXPECT_NE(lines.find("newされる前に入力が起こりました"), std::string::npos);

  // A run that fails says what its failing step wrote, not how the run began and ended.
  Result("check");
  const json runFailure = Error("run");
  EXPECT_EQ(runFailure, stepFailure);

  Result("open", {{"file", unnamed.string()}});
  const json checkFailure = Error("check");
  EXPECT_EQ(checkFailure["code"], "check_failed");
  EXPECT_NE(checkFailure["message"].get<std::string>().find("unnamedのステートマシン6にエラー"),
            std::string::npos);
  EXPECT_EQ(Error("step")["code"], "not_simulating");

  const json loadFailure = Error("open", {{"file", missing.string()}});
  EXPECT_EQ(loadFailure["code"], "load_failed");
  EXPECT_EQ(loadFailure["message"], "missingを読み込みました\nnothere.dtnをオープンできません");
  // What was read stays and can be drawn.
  EXPECT_EQ(Result("render")["module"], "missing");
}

TEST_F(ServeSessionTest, SourcesAndSinksAreFoundByNameInTheirNode) {
  // Two sources named "a", and a sink that shows hexadecimal values.
  const fs::path twice =
      temp.Write("twice.dtn",
                 ExampleWith("full_adder.dtn", "uhzi[8,40,140,0,0,0,b]", "uhzi[8,40,140,0,0,0,a]"));
  const std::string hexSink =
      ExampleWith("full_adder.dtn", "kemmakix[10,520,100,0,0,sum]{\r\n01101001}",
                  "kemmakix[10,520,100,0,1,sum]{\r\n69}");
  const fs::path hex = temp.Write("hex.dtn", hexSink);

  OpenAndCheck(twice);
  const json ambiguous = Error("set_source", {{"name", "a"}, {"values", "1"}});
  EXPECT_EQ(ambiguous["code"], "ambiguous");
  EXPECT_EQ(Result("set_source", {{"id", 8}, {"values", "1"}})["remaining"], "1");

  OpenAndCheck(hex);
  EXPECT_EQ(Result("state")["nodes"][0]["sinks"]["10"]["expected"], "01101001");
  EXPECT_EQ(Error("expect", {{"name", "sum"}, {"values", "011"}})["code"], "invalid_argument");
  // The expectation comes back as the bits it was given.
  EXPECT_EQ(Result("expect", {{"name", "sum"}, {"values", "11110000"}})["expected"], "11110000");
  EXPECT_EQ(Result("run")["end"], "idle");
  const json sum = Result("state", {{"path", "hex"}})["nodes"][0]["sinks"]["10"];
  EXPECT_EQ(sum["verdict"], "fail");
  EXPECT_EQ(sum["firstMismatchStep"], 3);  // the first value, 0, arrives in step 3
}

// Nothing a request does writes a design file, unless it is what the request names.
TEST_F(ServeSessionTest, RequestsLeaveTheDesignFilesAsTheyWere) {
  for (const char* name : {"double_inverter.dtn", "inverter.dtn"})
    testing::WriteBytes(temp.path() / name, testing::ReadBytes(kExamples / name));
  const auto files = [this] {
    std::map<std::string, std::string> bytes;
    for (const auto& entry : fs::directory_iterator(temp.path()))
      bytes[entry.path().filename().string()] = testing::ReadBytes(entry.path());
    return bytes;
  };
  const auto before = files();
  OpenAndCheck(temp.path() / "double_inverter.dtn");
  Result("set_source", {{"name", "in"}, {"values", "1111"}});
  Result("expect", {{"name", "twice"}, {"values", "0000"}});
  Result("expect", {{"path", "double_inverter/6"}, {"id", 5}, {"values", "1"}});
  Result("step", {{"n", 3}});
  Result("run", {{"stop_at_mismatch", true}});
  Result("render", {{"path", "double_inverter/7"}});
  Result("state");
  Result("log");
  Result("check");
  Result("close");
  EXPECT_EQ(files(), before);
}

}  // namespace
}  // namespace pelkor
