// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/paged_copy.h"

#include <algorithm>

namespace pelkor {

// A page's bytes, counted in its tally from its making to its end.
class PagedCopy::Page {
 public:
  Page(std::span<const std::byte> bytes, std::shared_ptr<PageTally> tally)
      : bytes_(bytes.begin(), bytes.end()), tally_(std::move(tally)) {
    tally_->bytes += Footprint();
  }
  ~Page() { tally_->bytes -= Footprint(); }
  Page(const Page&) = delete;
  Page& operator=(const Page&) = delete;

  std::span<const std::byte> bytes() const { return bytes_; }
  // The bytes and what the page and its shared pointer cost around them.
  std::size_t Footprint() const { return bytes_.size() + sizeof(Page) + 32; }

 private:
  std::vector<std::byte> bytes_;
  std::shared_ptr<PageTally> tally_;
};

PagedCopy PagedCopy::OfBytes(std::span<const std::byte> bytes, const PagedCopy* previous,
                             const std::shared_ptr<PageTally>& tally) {
  PagedCopy copy;
  copy.size_ = bytes.size();
  copy.pages_.reserve((bytes.size() + kPageBytes - 1) / kPageBytes);
  for (std::size_t start = 0, k = 0; start < bytes.size(); start += kPageBytes, ++k) {
    const std::span<const std::byte> page =
        bytes.subspan(start, std::min(kPageBytes, bytes.size() - start));
    if (previous != nullptr && k < previous->pages_.size()) {
      const std::span<const std::byte> before = previous->pages_[k]->bytes();
      if (before.size() == page.size() &&
          std::memcmp(before.data(), page.data(), page.size()) == 0) {
        copy.pages_.push_back(previous->pages_[k]);
        continue;
      }
    }
    copy.pages_.push_back(std::make_shared<const Page>(page, tally));
  }
  return copy;
}

void PagedCopy::CopyBytes(std::byte* out) const {
  for (const auto& page : pages_) {
    const std::span<const std::byte> bytes = page->bytes();
    if (!bytes.empty())
      std::memcpy(out, bytes.data(), bytes.size());
    out += bytes.size();
  }
}

std::size_t PagedCopy::Bytes() const {
  std::size_t bytes = sizeof(PagedCopy) + pages_.capacity() * sizeof(pages_.front());
  for (const auto& page : pages_)
    bytes += page->Footprint();
  return bytes;
}

}  // namespace pelkor
