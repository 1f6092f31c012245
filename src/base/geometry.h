// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pelkor {

// A point of a module's drawing plane (or, where a field says so, of the client area).
struct Point {
  int x = 0;
  int y = 0;

  bool operator==(const Point&) const = default;
};

inline Point operator+(Point a, Point b) {
  return {a.x + b.x, a.y + b.y};
}
inline Point operator-(Point a, Point b) {
  return {a.x - b.x, a.y - b.y};
}

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool operator==(const Rect&) const = default;
};

// Moves each coordinate to the centre of its grid cell; points on both sides of 0 snap away
// from 0. A grid size below 1 has no cells and leaves the point where it is.
Point SnapToCell(Point p, int gridSize);

}  // namespace pelkor
