// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <vector>

#include "base/geometry.h"

namespace pelkor {

// A list of points kept behind one pointer, empty without any storage: most arcs have no bends,
// and a large module has tens of thousands of arcs. It reads as a std::vector<Point>.
class PointList {
 public:
  using value_type = Point;
  using const_iterator = const Point*;
  using iterator = Point*;

  PointList() = default;
  PointList(std::vector<Point> points) { Assign(std::move(points)); }  // NOLINT: reads as one
  PointList(std::initializer_list<Point> points) : PointList(std::vector<Point>(points)) {}
  PointList(const PointList& other) : PointList(other.List()) {}
  PointList& operator=(const PointList& other) {
    if (this != &other)
      Assign(other.List());
    return *this;
  }
  PointList& operator=(std::vector<Point> points) {
    Assign(std::move(points));
    return *this;
  }
  PointList& operator=(std::initializer_list<Point> points) {
    Assign(std::vector<Point>(points));
    return *this;
  }
  PointList(PointList&&) noexcept = default;
  PointList& operator=(PointList&&) noexcept = default;
  ~PointList() = default;

  operator const std::vector<Point>&() const { return List(); }  // NOLINT: reads as one
  const std::vector<Point>& List() const {
    static const std::vector<Point> kNone;
    return points_ ? *points_ : kNone;
  }

  bool empty() const { return !points_; }
  std::size_t size() const { return List().size(); }
  const Point& front() const { return List().front(); }
  const Point& back() const { return List().back(); }
  const Point* begin() const { return points_ ? points_->data() : nullptr; }
  const Point* end() const { return points_ ? points_->data() + points_->size() : nullptr; }
  Point* begin() { return points_ ? points_->data() : nullptr; }
  Point* end() { return points_ ? points_->data() + points_->size() : nullptr; }
  void push_back(Point point) {
    if (!points_)
      points_ = std::make_unique<std::vector<Point>>();
    points_->push_back(point);
  }
  void clear() { points_.reset(); }

  bool operator==(const PointList& other) const { return List() == other.List(); }

 private:
  void Assign(std::vector<Point> points) {
    if (points.empty())
      points_.reset();
    else
      points_ = std::make_unique<std::vector<Point>>(std::move(points));
  }

  std::unique_ptr<std::vector<Point>> points_;  // never empty when there is one
};

}  // namespace pelkor
