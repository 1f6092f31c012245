// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelkor {

// A set of item numbers that is walked in ascending order while it changes: a member added ahead
// of the walk is met in the same walk, one added behind it in the next. Two levels of bit words,
// so that a walk over a few members of a large set passes 4,096 absent items at a time.
class ActivitySet {
 public:
  // Room for items [0, size); items added by growing start as members.
  void Grow(std::size_t size) {
    const std::size_t old = size_;
    words_.resize((size + 63) / 64, 0);
    summary_.resize((words_.size() + 63) / 64, 0);
    size_ = size;
    for (std::size_t item = old; item < size; ++item)
      Insert(item);
  }
  // Forgets items [size, ...).
  void Shrink(std::size_t size) {
    for (std::size_t item = size; item < size_; ++item)
      Erase(item);
    size_ = size;
    words_.resize((size + 63) / 64);
    summary_.resize((words_.size() + 63) / 64);
  }
  void Clear() {
    words_ = std::vector<std::uint64_t>();
    summary_ = std::vector<std::uint64_t>();
    size_ = 0;
  }

  void Insert(std::size_t item) {
    words_[item / 64] |= Bit(item);
    summary_[item / 4096] |= Bit(item / 64);
  }
  void Erase(std::size_t item) {
    const std::size_t word = item / 64;
    words_[word] &= ~Bit(item);
    if (words_[word] == 0)
      summary_[word / 64] &= ~Bit(word);
  }
  // The memory its words take.
  std::size_t ByteSize() const { return (words_.capacity() + summary_.capacity()) * 8; }
  bool Contains(std::size_t item) const { return (words_[item / 64] & Bit(item)) != 0; }

  // The first member in [from, end), or `end` when there is none.
  std::size_t Next(std::size_t from, std::size_t end) const {
    if (from >= end)
      return end;
    std::size_t word = from / 64;
    if (const std::uint64_t bits = words_[word] & (~std::uint64_t{0} << (from % 64)))
      return Bounded(word * 64 + static_cast<std::size_t>(std::countr_zero(bits)), end);
    ++word;
    std::size_t group = word / 64;
    if (group >= summary_.size())
      return end;
    std::uint64_t groupBits = summary_[group] & (~std::uint64_t{0} << (word % 64));
    while (groupBits == 0) {
      if (++group >= summary_.size() || group * 4096 >= end)
        return end;
      groupBits = summary_[group];
    }
    word = group * 64 + static_cast<std::size_t>(std::countr_zero(groupBits));
    return Bounded(word * 64 + static_cast<std::size_t>(std::countr_zero(words_[word])), end);
  }

 private:
  static std::uint64_t Bit(std::size_t index) { return std::uint64_t{1} << (index % 64); }
  static std::size_t Bounded(std::size_t item, std::size_t end) { return item < end ? item : end; }

  std::vector<std::uint64_t> words_;    // bit i of word w: item 64 w + i
  std::vector<std::uint64_t> summary_;  // bit j of group g: word 64 g + j is not zero
  std::size_t size_ = 0;
};

}  // namespace pelkor
