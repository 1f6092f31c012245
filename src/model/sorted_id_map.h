// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace pelkor {

// ID -> small value as one array sorted by ID, for per-object tables of large modules where a
// tree node per entry would cost several times the entry. IDs are mostly added in ascending
// order (a file being read, objects being placed), which appends. Entries are read through
// const iterators, so no ID can be changed in place. The map itself is one pointer: the array
// lives apart, and an empty map has none, as each of a hundred thousand leaves of the instance
// tree holds an empty one.
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

  SortedIdMap() = default;
  SortedIdMap(const SortedIdMap& other)
      : entries_(other.entries_ ? std::make_unique<std::vector<Entry>>(*other.entries_) : nullptr) {
  }
  SortedIdMap& operator=(const SortedIdMap& other) {
    if (this != &other)
      entries_ = other.entries_ ? std::make_unique<std::vector<Entry>>(*other.entries_) : nullptr;
    return *this;
  }
  SortedIdMap(SortedIdMap&&) noexcept = default;
  SortedIdMap& operator=(SortedIdMap&&) noexcept = default;
  ~SortedIdMap() = default;

  const_iterator begin() const { return List().begin(); }
  const_iterator end() const { return List().end(); }
  auto rbegin() const { return List().rbegin(); }
  auto rend() const { return List().rend(); }
  std::size_t size() const { return List().size(); }
  bool empty() const { return List().empty(); }

  const_iterator find(int id) const {
    const auto it = LowerBound(id);
    return it != end() && it->first == id ? it : end();
  }
  bool contains(int id) const { return find(id) != end(); }
  const Value& at(int id) const {
    const auto it = find(id);
    if (it == end())
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
    if (it == end())
      return 0;
    entries_->erase(it);
    return 1;
  }
  // Removes every entry that `remove` picks; returns how many went.
  template <typename Predicate>
  std::size_t EraseIf(Predicate remove) {
    if (!entries_)
      return 0;
    return std::erase_if(*entries_, [&remove](const Entry& entry) { return remove(entry); });
  }

  void Reserve(std::size_t size) {
    if (size > 0)
      Entries().reserve(size);
  }
  void ShrinkToFit() {
    if (entries_ && entries_->empty())
      entries_.reset();
    else if (entries_)
      entries_->shrink_to_fit();
  }

  bool operator==(const SortedIdMap& other) const { return List() == other.List(); }
  friend bool operator==(const SortedIdMap& ids, const std::map<int, Value>& map) {
    return std::equal(ids.begin(), ids.end(), map.begin(), map.end(),
                      [](const Entry& e, const auto& pair) {
                        return e.first == pair.first && e.second == pair.second;
                      });
  }

 private:
  const std::vector<Entry>& List() const {
    static const std::vector<Entry> kNone;
    return entries_ ? *entries_ : kNone;
  }
  std::vector<Entry>& Entries() {
    if (!entries_)
      entries_ = std::make_unique<std::vector<Entry>>();
    return *entries_;
  }
  const_iterator LowerBound(int id) const {
    const std::vector<Entry>& list = List();
    if (!list.empty() && list.back().first < id)
      return list.end();
    return std::partition_point(list.begin(), list.end(),
                                [id](const Entry& e) { return e.first < id; });
  }
  // The entry under `id`, made from `value` when there is none; whether it was made.
  std::pair<typename std::vector<Entry>::iterator, bool> Slot(int id, Value&& value) {
    std::vector<Entry>& list = Entries();
    const auto offset = LowerBound(id) - list.cbegin();
    auto it = list.begin() + offset;
    if (it != list.end() && it->first == id)
      return {it, false};
    return {list.insert(it, Entry{id, std::move(value)}), true};
  }

  std::unique_ptr<std::vector<Entry>> entries_;
};

}  // namespace pelkor
