// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/shard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cli_runner.h"

namespace pelkor {
namespace {

using Variables = std::map<std::string, std::string>;

cli::Environment Lookup(const Variables& variables) {
  return [&variables](const char* name) -> const char* {
    const auto it = variables.find(name);
    return it == variables.end() ? nullptr : it->second.c_str();
  };
}

// The variables each scheme sets in the job of the given position (0 for the first of
// `count` jobs), and the --shard-count given, if any.
struct Scheme {
  const char* name;
  std::function<Variables(int position, int count)> job;
  bool countOption = false;
};

const Scheme kSchemes[] = {
    {"PELKOR_SHARD",
     [](int k, int n) {
       return Variables{{"PELKOR_SHARD", std::to_string(k + 1)},
                        {"PELKOR_SHARD_COUNT", std::to_string(n)}};
     }},
    {"PELKOR_SHARD with --shard-count",
     [](int k, int) {
       return Variables{{"PELKOR_SHARD", std::to_string(k + 1)}};
     },
     true},
    {"Slurm array 5-...",
     [](int k, int n) {
       return Variables{{"SLURM_ARRAY_TASK_ID", std::to_string(5 + k)},
                        {"SLURM_ARRAY_TASK_MIN", "5"},
                        {"SLURM_ARRAY_TASK_MAX", std::to_string(5 + n - 1)},
                        {"SLURM_ARRAY_TASK_STEP", "1"},
                        {"SLURM_ARRAY_TASK_COUNT", std::to_string(n)}};
     }},
    {"Slurm array 0-...:4",
     [](int k, int n) {
       return Variables{{"SLURM_ARRAY_TASK_ID", std::to_string(4 * k)},
                        {"SLURM_ARRAY_TASK_MIN", "0"},
                        {"SLURM_ARRAY_TASK_STEP", "4"},
                        {"SLURM_ARRAY_TASK_COUNT", std::to_string(n)}};
     }},
    {"Kubernetes indexed Job",
     [](int k, int n) {
       return Variables{{"JOB_COMPLETION_INDEX", std::to_string(k)},
                        {"PELKOR_SHARD_COUNT", std::to_string(n)}};
     }},
    {"Kubernetes indexed Job with --shard-count",
     [](int k, int) {
       return Variables{{"JOB_COMPLETION_INDEX", std::to_string(k)}};
     },
     true},
    {"GitLab parallel",
     [](int k, int n) {
       return Variables{{"CI_NODE_INDEX", std::to_string(k + 1)},
                        {"CI_NODE_TOTAL", std::to_string(n)}};
     }},
    {"Buildkite parallelism",
     [](int k, int n) {
       return Variables{{"BUILDKITE_PARALLEL_JOB", std::to_string(k)},
                        {"BUILDKITE_PARALLEL_JOB_COUNT", std::to_string(n)}};
     }},
};

TEST(ShardTest, TheJobsOfEverySchemeRunEachDesignExactlyOnce) {
  std::vector<std::string> designs;
  for (int i = 0; i < 11; ++i)
    designs.push_back("design" + std::to_string(i) + ".dtn");
  for (const Scheme& scheme : kSchemes) {
    for (const int count : {1, 2, 3, 4, 11, 12}) {
      SCOPED_TRACE(std::string(scheme.name) + ", " + std::to_string(count) + " jobs");
      std::map<std::string, int> runs;
      for (int position = 0; position < count; ++position) {
        const Variables variables = scheme.job(position, count);
        const auto shard = cli::ShardFromEnvironment(
            Lookup(variables), scheme.countOption ? std::optional<int>(count) : std::nullopt);
        ASSERT_TRUE(std::holds_alternative<cli::Shard>(shard)) << std::get<std::string>(shard);
        for (const std::string& design : cli::ShareOf(designs, std::get<cli::Shard>(shard)))
          ++runs[design];
      }
      EXPECT_EQ(runs.size(), designs.size());
      for (const auto& [design, times] : runs)
        EXPECT_EQ(times, 1) << design;
    }
  }
}

TEST(ShardTest, WhatIsMissingOrWrongIsNamed) {
  struct Case {
    Variables variables;
    std::optional<int> countOption;
    std::string message;
  };
  const Case cases[] = {
      {{{"CI_NODE_INDEX", "4"}, {"CI_NODE_TOTAL", "3"}},
       {},
       "CI_NODE_INDEX=4 is not one of 3 jobs"},
      {{{"CI_NODE_INDEX", "0"}, {"CI_NODE_TOTAL", "3"}},
       {},
       "CI_NODE_INDEX=0 is not one of 3 jobs"},
      {{{"CI_NODE_INDEX", "x"}, {"CI_NODE_TOTAL", "3"}},
       {},
       "CI_NODE_INDEX=x is not a whole number"},
      {{{"CI_NODE_INDEX", "1"}}, {}, "CI_NODE_TOTAL is not set, which CI_NODE_INDEX with"},
      {{{"CI_NODE_INDEX", "1"}, {"CI_NODE_TOTAL", "3"}},
       4,
       "--shard-count 4 differs from CI_NODE_TOTAL=3"},
      {{{"JOB_COMPLETION_INDEX", "0"}}, {}, "PELKOR_SHARD_COUNT is not set"},
      {{{"SLURM_ARRAY_TASK_ID", "6"},
        {"SLURM_ARRAY_TASK_MIN", "0"},
        {"SLURM_ARRAY_TASK_STEP", "4"},
        {"SLURM_ARRAY_TASK_COUNT", "3"}},
       {},
       "SLURM_ARRAY_TASK_ID=6 is not one of 3 jobs"},
      {{{"BUILDKITE_PARALLEL_JOB", "2"}, {"BUILDKITE_PARALLEL_JOB_COUNT", "2"}},
       {},
       "BUILDKITE_PARALLEL_JOB=2 is not one of 2 jobs"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const auto shard = cli::ShardFromEnvironment(Lookup(c.variables), c.countOption);
    ASSERT_TRUE(std::holds_alternative<std::string>(shard));
    EXPECT_NE(std::get<std::string>(shard).find(c.message), std::string::npos)
        << std::get<std::string>(shard);
  }
}

// Through the real binary: a GitLab job runs the share --shard K/N names, and a job without
// any of the variables is told which ones there are.
TEST(ShardTest, AutoTakesTheShareOfTheJob) {
  const std::string examples = PELKOR_EXAMPLES;
  std::string unset;
  for (const cli::ShardScheme& scheme : cli::kShardSchemes)
    unset += std::string(" -u ") + scheme.indexVariable;
  const auto gitlab = testing::RunShell("env" + unset + " CI_NODE_INDEX=2 CI_NODE_TOTAL=3 " +
                                        PELKOR_CLI_BINARY + " test " + examples + " --shard auto");
  const auto named = testing::RunCliBinary("test " + examples + " --shard 2/3");
  EXPECT_EQ(gitlab.status, named.status);
  EXPECT_EQ(gitlab.out, named.out);

  const auto none = testing::RunShell("env" + unset + " " + PELKOR_CLI_BINARY + " test " +
                                      examples + " --shard auto 2>&1");
  EXPECT_EQ(none.status, 64);
  for (const char* variable :
       {"PELKOR_SHARD", "PELKOR_SHARD_COUNT", "SLURM_ARRAY_TASK_ID", "SLURM_ARRAY_TASK_MIN",
        "SLURM_ARRAY_TASK_COUNT", "JOB_COMPLETION_INDEX", "--shard-count", "CI_NODE_INDEX",
        "CI_NODE_TOTAL", "BUILDKITE_PARALLEL_JOB", "BUILDKITE_PARALLEL_JOB_COUNT"})
    EXPECT_NE(none.out.find(variable), std::string::npos) << variable;
  EXPECT_EQ(testing::RunCliBinary("test " + examples + " --shard 1/2 --shard-count 2").status, 64);
}

}  // namespace
}  // namespace pelkor
