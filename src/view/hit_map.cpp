// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/hit_map.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace pelkor {

void HitMap::Resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  ids_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
}

void HitMap::Clear() {
  std::fill(ids_.begin(), ids_.end(), 0);
}

int HitMap::At(Point pixel) const {
  if (pixel.x < 0 || pixel.y < 0 || pixel.x >= width_ || pixel.y >= height_)
    return 0;
  return ids_[static_cast<std::size_t>(pixel.y) * width_ + pixel.x];
}

void HitMap::MarkSquare(Point centre, int halfSide, int id) {
  // 64-bit bounds: a centre near the ends of the int range must not wrap into the window.
  const auto clampTo = [](std::int64_t v, int limit) {
    return static_cast<int>(std::clamp<std::int64_t>(v, 0, limit));
  };
  const int left = clampTo(std::int64_t{centre.x} - halfSide, width_);
  const int right = clampTo(std::int64_t{centre.x} + halfSide, width_);
  const int top = clampTo(std::int64_t{centre.y} - halfSide, height_);
  const int bottom = clampTo(std::int64_t{centre.y} + halfSide, height_);
  for (int j = top; j < bottom; ++j) {
    auto row = ids_.begin() + static_cast<std::ptrdiff_t>(j) * width_;
    std::fill(row + left, row + right, id);
  }
}

}  // namespace pelkor
