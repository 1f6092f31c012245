// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

namespace pelkor {

// ID -> small value as one array sorted by ID, for per-object tables of large modules where a
// tree node per entry would cost several times the entry. IDs are mostly added in ascending
// order (a file being read, objects being placed), which appends. Entries are read through
// const iterators, so no ID can be changed in place.
template <typename Value>
class SortedIdMap {
 public:
  struct Entry {
    int first = 0;
    Value second{};

    bool operator==(const Entry&) const = default;
  };
  using value_type = Entry;
  using const_iterator = typename std::vector<Entry>::const_iterator;
  using iterator = const_iterator;

  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }
  auto rbegin() const { return entries_.rbegin(); }
  auto rend() const { return entries_.rend(); }
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

  const_iterator find(int id) const {
    const auto it = LowerBound(id);
    return it != entries_.end() && it->first == id ? it : entries_.end();
  }
  bool contains(int id) const { return find(id) != entries_.end(); }
  const Value& at(int id) const {
    const auto it = find(id);
    if (it == entries_.end())
      throw std::out_of_range("SortedIdMap::at");
    return it->second;
  }

  // The value under `id`, added with a default value when there is none.
  Value& operator[](int id) { return Slot(id, Value{}).first->second; }
  // Adds `value` under `id` unless the ID has an entry; says whether it was added.
  std::pair<const_iterator, bool> try_emplace(int id, Value value) {
    const auto [it, added] = Slot(id, std::move(value));
    return {it, added};
  }
  std::size_t erase(int id) {
    const auto it = find(id);
    if (it == entries_.end())
      return 0;
    entries_.erase(it);
    return 1;
  }
  // Removes every entry that `remove` picks; returns how many went.
  template <typename Predicate>
  std::size_t EraseIf(Predicate remove) {
    return std::erase_if(entries_, [&remove](const Entry& entry) { return remove(entry); });
  }

  void Reserve(std::size_t size) { entries_.reserve(size); }
  void ShrinkToFit() { entries_.shrink_to_fit(); }

  bool operator==(const SortedIdMap&) const = default;
  friend bool operator==(const SortedIdMap& ids, const std::map<int, Value>& map) {
    return std::equal(ids.begin(), ids.end(), map.begin(), map.end(),
                      [](const Entry& e, const auto& pair) {
                        return e.first == pair.first && e.second == pair.second;
                      });
  }

 private:
  const_iterator LowerBound(int id) const {
    if (!entries_.empty() && entries_.back().first < id)
      return entries_.end();
    return std::partition_point(entries_.begin(), entries_.end(),
                                [id](const Entry& e) { return e.first < id; });
  }
  // The entry under `id`, made from `value` when there is none; whether it was made.
  std::pair<typename std::vector<Entry>::iterator, bool> Slot(int id, Value&& value) {
    const auto offset = LowerBound(id) - entries_.cbegin();
    auto it = entries_.begin() + offset;
    if (it != entries_.end() && it->first == id)
      return {it, false};
    return {entries_.insert(it, Entry{id, std::move(value)}), true};
  }

  std::vector<Entry> entries_;
};

}  // namespace pelkor
