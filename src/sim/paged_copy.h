// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <span>
#include <type_traits>
#include <vector>

namespace pelkor {

// The bytes held by every page made through one tally, each page counted once however many
// copies share it.
struct PageTally {
  std::size_t bytes = 0;
};

// A copy of an array in pages of kPageBytes. A copy made beside an earlier one of the same
// array shares each page whose bytes did not change, so that a series of copies of a large
// state of which little moves costs little more than one.
class PagedCopy {
 public:
  static constexpr std::size_t kPageBytes = 4096;

  PagedCopy() = default;
  // Copies `values`; pages equal to those of `previous`, when given, are shared with it.
  template <typename T>
  static PagedCopy Of(std::span<const T> values, const PagedCopy* previous,
                      const std::shared_ptr<PageTally>& tally) {
    static_assert(std::is_trivially_copyable_v<T>);
    return OfBytes({reinterpret_cast<const std::byte*>(values.data()), values.size_bytes()},
                   previous, tally);
  }
  // Gives `values` the copied elements, as many as were copied.
  template <typename T>
  void CopyTo(std::vector<T>& values) const {
    static_assert(std::is_trivially_copyable_v<T>);
    values.resize(size_ / sizeof(T));
    CopyBytes(reinterpret_cast<std::byte*>(values.data()));
  }

  std::size_t size() const { return size_; }
  std::size_t PageCount() const { return pages_.size(); }
  // The memory its pages hold, pages shared with other copies included.
  std::size_t Bytes() const;

 private:
  class Page;
  static PagedCopy OfBytes(std::span<const std::byte> bytes, const PagedCopy* previous,
                           const std::shared_ptr<PageTally>& tally);
  void CopyBytes(std::byte* out) const;

  std::size_t size_ = 0;
  std::vector<std::shared_ptr<const Page>> pages_;
};

}  // namespace pelkor
