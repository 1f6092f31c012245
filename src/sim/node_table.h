// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/runtime_instance.h"

namespace pelkor {

// The engine's nodes found by their tree node: an open-addressing table of node numbers, whose
// tree nodes are read back through `treeOf` (number -> tree node). A design may have a hundred
// thousand nodes, and a paint looks one up for each primitive; four bytes a bucket keep the table
// small, as the engine's own records already hold each node's address.
class NodeTable {
 public:
  static constexpr std::uint32_t kNoNode = 0xFFFFFFFFU;

  // The number of `tree`, or kNoNode.
  template <typename TreeOf>
  std::uint32_t Find(const RuntimeInstance& tree, TreeOf treeOf) const {
    if (buckets_.empty())
      return kNoNode;
    const std::size_t mask = buckets_.size() - 1;
    for (std::size_t b = Home(&tree);; b = (b + 1) & mask) {
      const std::uint32_t node = buckets_[b];
      if (node == kNoNode || treeOf(node) == &tree)
        return node;
    }
  }
  // Adds `node`, whose tree node the table does not hold yet.
  template <typename TreeOf>
  void Insert(std::uint32_t node, TreeOf treeOf) {
    Reserve(size_ + 1, treeOf);
    Place(node, treeOf(node));
    ++size_;
  }
  // Room for `nodes` nodes in all.
  template <typename TreeOf>
  void Reserve(std::size_t nodes, TreeOf treeOf) {
    std::size_t buckets = buckets_.empty() ? 16 : buckets_.size();
    while (4 * nodes > 3 * buckets)
      buckets *= 2;
    if (buckets == buckets_.size())
      return;
    std::vector<std::uint32_t> old(buckets, kNoNode);
    old.swap(buckets_);
    for (const std::uint32_t node : old) {
      if (node != kNoNode)
        Place(node, treeOf(node));
    }
  }
  std::size_t size() const { return size_; }
  // Forgets every node and gives the memory back.
  void Clear() {
    buckets_ = std::vector<std::uint32_t>();
    size_ = 0;
  }

 private:
  std::size_t Home(const RuntimeInstance* tree) const {
    // Nodes lie at least 16 bytes apart; the multiplication spreads the remaining bits over the
    // high ones, which pick the bucket.
    const std::uint64_t key = reinterpret_cast<std::uintptr_t>(tree) >> 4;
    const int bits = std::countr_zero(buckets_.size());
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> (64 - bits));
  }
  void Place(std::uint32_t node, const RuntimeInstance* tree) {
    const std::size_t mask = buckets_.size() - 1;
    std::size_t b = Home(tree);
    while (buckets_[b] != kNoNode)
      b = (b + 1) & mask;
    buckets_[b] = node;
  }

  std::vector<std::uint32_t> buckets_;  // a power of two of them, at most three quarters used
  std::size_t size_ = 0;
};

}  // namespace pelkor
