// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli_runner.h"

namespace pelkor {
namespace {

namespace fs = std::filesystem;

const fs::path kDivider = fs::path(PELKOR_EXAMPLES) / "counter_divider.dtn";

nlohmann::json LastLine(const std::string& out) {
  std::string text = out;
  while (!text.empty() && text.back() == '\n')
    text.pop_back();
  return nlohmann::json::parse(text.substr(text.rfind('\n') + 1));
}

std::string Received(std::int64_t steps) {
  const auto run = testing::RunCliBinary("run -q " + kDivider.string() +
                                         " --report json --max-steps " + std::to_string(steps));
  return LastLine(run.out)["sinks"][0]["received"];
}

// The run stops after the step in which the event happens: the same design run one step less
// has not yet seen it. Sink 5 "divided" takes what counter 3 writes, a value every second step.
TEST(BreakOptionTest, TheRunStopsAfterTheStepOfTheEvent) {
  struct Case {
    std::string target;
    std::size_t receivedBefore;  // values sink 5 holds after the step before the stop
    std::size_t receivedAt;
  };
  const Case cases[] = {{"counter_divider:5", 0, 1}, {"counter_divider:5:receive=1", 2, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    const auto run =
        testing::RunCliBinary("run -q " + kDivider.string() + " --report json --break " + c.target);
    const nlohmann::json report = LastLine(run.out);
    const std::int64_t step = report["steps"];
    EXPECT_EQ(report["breakpoint"]["step"], step);
    EXPECT_EQ(report["breakpoint"]["path"], "counter_divider");
    EXPECT_EQ(report["breakpoint"]["object"], "ケムマキ5");
    EXPECT_FALSE(report["idle"].get<bool>());
    EXPECT_EQ(Received(step - 1).size(), c.receivedBefore);
    EXPECT_EQ(Received(step).size(), c.receivedAt);
    // The verdicts so far: the sink has not had all its values.
    EXPECT_EQ(run.status, 1);
  }
  const auto text =
      testing::RunCliBinary("run " + kDivider.string() + " --break counter_divider:3:fire");
  EXPECT_NE(text.out.find("breakpoint counter_divider:3:fire (カウンタ3) hit at step 2\n"),
            std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("counter_divider カウンタ3 ブレークポイント(fire) ステップ2\n一時停止\n"),
            std::string::npos);
}

TEST(BreakOptionTest, ATargetThatNamesNoFittingObjectIsAUsageError) {
  for (const std::string target :
       {"counter_divider:99", "nowhere:5", "counter_divider:5:fire", "counter_divider:5:state=x",
        "counter_divider", "counter_divider:4:token", "counter_divider/6:5"}) {
    SCOPED_TRACE(target);
    const auto run = testing::RunCliBinary("run " + kDivider.string() + " --break " + target, true);
    EXPECT_EQ(run.status, 64);
    EXPECT_NE(run.out.find("--break " + target + ":"), std::string::npos) << run.out;
  }
  const fs::path inverters = fs::path(PELKOR_EXAMPLES) / "double_inverter.dtn";
  const auto run = testing::RunCliBinary(
      "run " + inverters.string() + " --break double_inverter/7:3:state=99", true);
  EXPECT_EQ(run.status, 64);
  EXPECT_NE(run.out.find("ステートマシン3 has no state 99"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace pelkor
