// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

namespace pelkor {

// One entry of an arc index: an object (or state) and an arc filed under it.
struct ArcIndexEntry {
  int first = 0;   // the object or state ID
  int second = 0;  // the arc ID

  bool operator==(const ArcIndexEntry&) const = default;
  friend bool operator==(const ArcIndexEntry& entry, const std::pair<const int, int>& pair) {
    return entry.first == pair.first && entry.second == pair.second;
  }
};

// Object ID -> arc ID, any number of arcs per object, as one array sorted by object; the arcs
// of one object keep the order they were filed in, as in a multimap. A module of tens of
// thousands of arcs keeps two of these, so an entry costs 8 bytes rather than a tree node.
class ArcIndex {
 public:
  using value_type = ArcIndexEntry;
  using const_iterator = std::vector<ArcIndexEntry>::const_iterator;
  using iterator = const_iterator;

  ArcIndex() = default;
  ArcIndex(std::initializer_list<ArcIndexEntry> entries) {
    for (const ArcIndexEntry& entry : entries)
      emplace(entry.first, entry.second);
  }

  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

  // Files `arc` under `object`, after the arcs filed there already. Arcs are mostly filed in
  // ascending object order (a file being read, a chain being drawn), which appends.
  void emplace(int object, int arc) {
    if (entries_.empty() || entries_.back().first <= object) {
      entries_.push_back({object, arc});
      return;
    }
    entries_.insert(UpperBound(object), {object, arc});
  }

  std::pair<const_iterator, const_iterator> equal_range(int object) const {
    return {LowerBound(object), UpperBound(object)};
  }

  const_iterator erase(const_iterator entry) { return entries_.erase(entry); }
  // Removes every entry filed under `object`; returns how many there were.
  std::size_t erase(int object) {
    const auto [begin, end] = equal_range(object);
    const auto count = static_cast<std::size_t>(end - begin);
    entries_.erase(begin, end);
    return count;
  }
  // Removes the entries for which `pred` holds.
  template <typename Pred>
  void EraseIf(Pred pred) {
    std::erase_if(entries_, pred);
  }

  void ShrinkToFit() { entries_.shrink_to_fit(); }

  bool operator==(const ArcIndex&) const = default;
  friend bool operator==(const ArcIndex& index, const std::multimap<int, int>& map) {
    return std::equal(index.begin(), index.end(), map.begin(), map.end(),
                      [](const ArcIndexEntry& entry, const auto& pair) { return entry == pair; });
  }

 private:
  const_iterator LowerBound(int object) const {
    return std::partition_point(entries_.begin(), entries_.end(),
                                [object](const ArcIndexEntry& e) { return e.first < object; });
  }
  const_iterator UpperBound(int object) const {
    return std::partition_point(entries_.begin(), entries_.end(),
                                [object](const ArcIndexEntry& e) { return e.first <= object; });
  }

  std::vector<ArcIndexEntry> entries_;
};

}  // namespace pelkor
