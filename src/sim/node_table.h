// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/runtime_instance.h"

namespace pelkor {

// What the engine keeps of each tree node it has met, found by the node's address: whether the
// node is prepared, and its number among the engine's nodes. An open-addressing table, as a
// design may have a hundred thousand nodes and a paint looks one up for each primitive.
class NodeTable {
 public:
  static constexpr std::uint32_t kNoNode = 0xFFFFFFFFU;

  struct Entry {
    const RuntimeInstance* tree = nullptr;
    std::uint32_t node = kNoNode;
    bool prepared = false;
  };

  // The entry of `tree`, or nullptr when it has none.
  const Entry* Find(const RuntimeInstance& tree) const;
  Entry* Find(const RuntimeInstance& tree);
  // The entry of `tree`, added when it has none; it lasts until the next Insert.
  Entry& Insert(const RuntimeInstance& tree);
  // Forgets every entry and gives the memory back.
  void Clear();

 private:
  std::size_t Home(const RuntimeInstance* tree) const;
  void Grow();

  std::vector<Entry> buckets_;  // a power of two of them, at most three quarters used
  std::size_t size_ = 0;
};

}  // namespace pelkor
