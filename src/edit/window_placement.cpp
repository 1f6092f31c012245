// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/window_placement.h"

#include <algorithm>

namespace pelkor {

namespace {

// One axis: the start and the length of the window within [low, high).
void FitSpan(int& start, int& end, int low, int high) {
  const int length = std::clamp(end - start, 0, high - low);
  start = std::clamp(start, low, high - length);
  end = start + length;
}

}  // namespace

Rect FitWindowIntoScreen(Rect frame, Rect available) {
  if (available.right <= available.left || available.bottom <= available.top)
    return frame;  // no screen to fit into: leave the window as it is
  FitSpan(frame.left, frame.right, available.left, available.right);
  FitSpan(frame.top, frame.bottom, available.top, available.bottom);
  return frame;
}

}  // namespace pelkor
