#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
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

}  // namespace pelkor::cli
