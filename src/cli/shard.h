// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pelkor::cli {

// The K-th of N equal shares of a list, K from 1 to N.
struct Shard {
  int index = 1;  // K
  int count = 1;  // N
};

// "K/N" in decimal digits with 1 <= K <= N; nullopt for anything else.
std::optional<Shard> ParseShard(std::string_view text);

// The items of the shard's share, in order: consecutive runs whose sizes differ by at most
// one, so that the N shares together hold every item exactly once.
template <typename T>
std::vector<T> ShareOf(const std::vector<T>& items, const Shard& shard) {
  const std::size_t size = items.size();
  const auto index = static_cast<std::size_t>(shard.index);
  const auto count = static_cast<std::size_t>(shard.count);
  return std::vector<T>(items.begin() + static_cast<std::ptrdiff_t>((index - 1) * size / count),
                        items.begin() + static_cast<std::ptrdiff_t>(index * size / count));
}

// The number of jobs where the scheme has no variable of its own for it.
inline constexpr const char* kShardCountVariable = "PELKOR_SHARD_COUNT";

// How a scheduler or CI service tells each of its parallel jobs which one it is.
struct ShardScheme {
  const char* engine;              // "Slurm array job", ...
  const char* indexVariable;       // set in every job of the scheme
  int firstIndex;                  // the index of the first job, unless firstIndexVariable is set
  const char* firstIndexVariable;  // null when the first index is fixed
  const char* countVariable;       // null: the count is --shard-count or PELKOR_SHARD_COUNT
  const char* stepVariable;        // when set, the index advances by this much from job to job
};

// In the order they are looked for: the first whose index variable is set is taken.
extern const ShardScheme kShardSchemes[5];

// "SLURM_ARRAY_TASK_ID with SLURM_ARRAY_TASK_MIN and SLURM_ARRAY_TASK_COUNT (Slurm array job)"
std::string DescribeScheme(const ShardScheme& scheme);

// A variable's value, or null when it is not set.
using Environment = std::function<const char*(const char*)>;

// The shard that `--shard auto` runs, from the first scheme whose index variable is set;
// `count` (from --shard-count) stands in for PELKOR_SHARD_COUNT. A text that says what is
// missing or wrong when no shard can be taken.
std::variant<Shard, std::string> ShardFromEnvironment(const Environment& environment,
                                                      std::optional<int> count);

}  // namespace pelkor::cli
