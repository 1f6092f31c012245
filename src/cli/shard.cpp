// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/shard.h"

#include <charconv>
#include <cstdint>

namespace pelkor::cli {

namespace {

std::optional<int> Decimal(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return value;
}

// A variable's value as a whole number, or a text saying why it is none.
std::variant<std::int64_t, std::string> Number(const Environment& environment,
                                               const char* variable) {
  const char* value = environment(variable);
  if (value == nullptr)
    return std::string(variable) + " is not set";
  const std::optional<int> number = Decimal(value);
  if (!number)
    return std::string(variable) + "=" + value + " is not a whole number";
  return std::int64_t{*number};
}

}  // namespace

std::optional<Shard> ParseShard(std::string_view text) {
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos)
    return std::nullopt;
  const std::optional<int> index = Decimal(text.substr(0, slash));
  const std::optional<int> count = Decimal(text.substr(slash + 1));
  if (!index || !count || *index < 1 || *index > *count)
    return std::nullopt;
  return Shard{*index, *count};
}

const ShardScheme kShardSchemes[5] = {
    {"any other runner", "PELKOR_SHARD", 1, nullptr, nullptr, nullptr},
    // An array given as a range with a step, such as 0-15:4, numbers its tasks 0, 4, 8, 12.
    {"Slurm array job", "SLURM_ARRAY_TASK_ID", 0, "SLURM_ARRAY_TASK_MIN", "SLURM_ARRAY_TASK_COUNT",
     "SLURM_ARRAY_TASK_STEP"},
    {"Kubernetes indexed Job", "JOB_COMPLETION_INDEX", 0, nullptr, nullptr, nullptr},
    {"GitLab parallel job", "CI_NODE_INDEX", 1, nullptr, "CI_NODE_TOTAL", nullptr},
    {"Buildkite parallel job", "BUILDKITE_PARALLEL_JOB", 0, nullptr, "BUILDKITE_PARALLEL_JOB_COUNT",
     nullptr},
};

std::string DescribeScheme(const ShardScheme& scheme) {
  std::string text = scheme.indexVariable;
  if (scheme.firstIndexVariable != nullptr)
    text += std::string(" with ") + scheme.firstIndexVariable + " and " + scheme.countVariable;
  else if (scheme.countVariable != nullptr)
    text += std::string(" with ") + scheme.countVariable;
  else
    text += std::string(" with --shard-count or ") + kShardCountVariable;
  return text + " (" + scheme.engine + ")";
}

std::variant<Shard, std::string> ShardFromEnvironment(const Environment& environment,
                                                      std::optional<int> count) {
  for (const ShardScheme& scheme : kShardSchemes) {
    if (environment(scheme.indexVariable) == nullptr)
      continue;
    const auto index = Number(environment, scheme.indexVariable);
    if (const auto* why = std::get_if<std::string>(&index))
      return *why;
    std::int64_t first = scheme.firstIndex;
    if (scheme.firstIndexVariable != nullptr) {
      const auto value = Number(environment, scheme.firstIndexVariable);
      if (const auto* why = std::get_if<std::string>(&value))
        return *why;
      first = std::get<std::int64_t>(value);
    }
    std::int64_t step = 1;
    if (scheme.stepVariable != nullptr && environment(scheme.stepVariable) != nullptr) {
      const auto value = Number(environment, scheme.stepVariable);
      if (const auto* why = std::get_if<std::string>(&value))
        return *why;
      step = std::get<std::int64_t>(value);
    }
    std::int64_t total = 0;
    if (scheme.countVariable == nullptr && count) {
      total = *count;
    } else {
      const auto value = Number(environment, scheme.countVariable != nullptr ? scheme.countVariable
                                                                             : kShardCountVariable);
      if (const auto* why = std::get_if<std::string>(&value))
        return *why + ", which " + DescribeScheme(scheme) + " needs";
      total = std::get<std::int64_t>(value);
      if (count && *count != total)
        return "--shard-count " + std::to_string(*count) + " differs from " + scheme.countVariable +
               "=" + std::to_string(total);
    }
    const std::int64_t offset = std::get<std::int64_t>(index) - first;
    const std::int64_t k = step > 0 && offset % step == 0 ? offset / step + 1 : 0;
    if (total < 1 || k < 1 || k > total) {
      return std::string(scheme.indexVariable) + "=" + environment(scheme.indexVariable) +
             " is not one of " + std::to_string(total) + " jobs of " + DescribeScheme(scheme);
    }
    return Shard{static_cast<int>(k), static_cast<int>(total)};
  }
  std::string text = "no shard is set in the environment; set one of: ";
  for (const ShardScheme& scheme : kShardSchemes)
    text += (&scheme == kShardSchemes ? "" : "; ") + DescribeScheme(scheme);
  return text;
}

}  // namespace pelkor::cli
