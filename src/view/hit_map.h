// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "base/geometry.h"

namespace pelkor {

// One object ID per client pixel, row-major; 0 means no object. Every paint rebuilds it, and
// every hit test of the mouse reads it, so the drawing order is also the tie-break order.
class HitMap {
 public:
  // W x H entries, all 0.
  void Resize(int width, int height);
  void Clear();
  // The ID at a client pixel; 0 outside the client area.
  int At(Point pixel) const;
  // Gives every pixel (i, j) with cx - r <= i < cx + r and cy - r <= j < cy + r the ID,
  // clipped to the client area. An r of 0 marks nothing.
  void MarkSquare(Point centre, int halfSide, int id);

  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<int> ids_;
};

}  // namespace pelkor
