// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "base/geometry.h"
#include "files/settings.h"

namespace pelkor {

// One shape of a small drawing in pixels of its surface; a replay draws them in order.
struct SketchOp {
  enum class Kind {
    kFillRect,  // `from` top-left, `to` bottom-right (exclusive), filled with `fill`
    kLine,      // from `from` to `to` with the pen
    kEllipse,   // inside the box `from`..`to` (exclusive), outlined with the pen, filled
    kText,      // `text` with its top-left corner at `from`, in `colour`
  };

  Kind kind = Kind::kLine;
  Point from;
  Point to;
  ColorRef colour = 0;  // the pen, or the ink of a text
  int penWidth = 1;
  ColorRef fill = Rgb(255, 255, 255);
  std::string text;

  bool operator==(const SketchOp&) const = default;
};

using Sketch = std::vector<SketchOp>;

}  // namespace pelkor
