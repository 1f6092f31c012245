// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/arc_path.h"

#include <algorithm>
#include <ranges>

#include "view/arrow_geometry.h"

namespace pelkor {

namespace {

// How far from a drawn arc a press still takes it, in pixels.
constexpr int kArcReachPixels = 4;

}  // namespace

std::vector<Point> ArcScreenPath(const Module& module, const Arc& arc, const ViewState& view) {
  const Point* from = module.PositionOf(arc.from);
  const Point* to = module.PositionOf(arc.to);
  if (from == nullptr || to == nullptr)
    return {};
  const Viewport viewport = view.viewport();
  std::vector<Point> path;
  path.reserve(arc.bends.size() + 2);
  path.push_back(viewport.ToScreen(*from));
  for (const Point& bend : arc.bends)
    path.push_back(viewport.ToScreen(bend));
  path.push_back(
      PointBefore(path.back(), viewport.ToScreen(*to), kArcGap / std::max(view.scale, 1)));
  return path;
}

int ArcAt(const Module& module, const ViewState& view, Point pixel) {
  for (const auto& [id, arc] : std::views::reverse(module.arcs)) {
    const std::vector<Point> path = ArcScreenPath(module, arc, view);
    for (std::size_t i = 1; i < path.size(); ++i) {
      if (NearSegment(pixel, path[i - 1], path[i], kArcReachPixels))
        return id;
    }
  }
  return 0;
}

}  // namespace pelkor
