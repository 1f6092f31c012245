// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/node_table.h"

#include <bit>

namespace pelkor {

std::size_t NodeTable::Home(const RuntimeInstance* tree) const {
  // Nodes lie at least 16 bytes apart; the multiplication spreads the remaining bits over the
  // high ones, which pick the bucket.
  const std::uint64_t key = reinterpret_cast<std::uintptr_t>(tree) >> 4;
  const int bits = std::countr_zero(buckets_.size());
  return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> (64 - bits));
}

const NodeTable::Entry* NodeTable::Find(const RuntimeInstance& tree) const {
  if (buckets_.empty())
    return nullptr;
  const std::size_t mask = buckets_.size() - 1;
  for (std::size_t b = Home(&tree);; b = (b + 1) & mask) {
    const Entry& entry = buckets_[b];
    if (entry.tree == &tree)
      return &entry;
    if (entry.tree == nullptr)
      return nullptr;
  }
}

NodeTable::Entry* NodeTable::Find(const RuntimeInstance& tree) {
  return const_cast<Entry*>(static_cast<const NodeTable*>(this)->Find(tree));
}

NodeTable::Entry& NodeTable::Insert(const RuntimeInstance& tree) {
  if (Entry* entry = Find(tree))
    return *entry;
  if (4 * (size_ + 1) > 3 * buckets_.size())
    Grow();
  const std::size_t mask = buckets_.size() - 1;
  std::size_t b = Home(&tree);
  while (buckets_[b].tree != nullptr)
    b = (b + 1) & mask;
  ++size_;
  buckets_[b].tree = &tree;
  return buckets_[b];
}

void NodeTable::Grow() {
  std::vector<Entry> old(buckets_.empty() ? 16 : 2 * buckets_.size());
  old.swap(buckets_);
  const std::size_t mask = buckets_.size() - 1;
  for (const Entry& entry : old) {
    if (entry.tree == nullptr)
      continue;
    std::size_t b = Home(entry.tree);
    while (buckets_[b].tree != nullptr)
      b = (b + 1) & mask;
    buckets_[b] = entry;
  }
}

void NodeTable::Clear() {
  buckets_ = std::vector<Entry>();
  size_ = 0;
}

}  // namespace pelkor
