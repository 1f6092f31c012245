// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "view/scene.h"

namespace pelkor::testing {

// A view of `width` x `height` pixels at a zoom level whose top-left pixel shows `origin`.
inline ViewState ViewAt(int zoomLevel, Point origin = {}, int width = 400, int height = 300) {
  ViewState view;
  view.zoomLevel = zoomLevel;
  view.scale = 1 << zoomLevel;
  view.origin = origin;
  view.baseOrigin = origin;
  view.width = width;
  view.height = height;
  return view;
}

struct Painted {
  Frame frame;
  HitMap hits;

  const std::vector<DrawOp>& ops() const { return frame.picture.ops; }
};

inline Painted Paint(const Module& module, const ViewState& view,
                     const RunStateReader* simulation = nullptr, const SceneOverlay& overlay = {},
                     const ViewStyle& style = {}) {
  Painted painted;
  PaintScene(module, view, style, simulation, overlay, painted.frame, &painted.hits);
  return painted;
}

// The operations of one shape whose pen (or, without a pen, brush) has the colour.
inline std::vector<DrawOp> OpsOf(const std::vector<DrawOp>& ops, DrawShape shape, ColorRef colour) {
  std::vector<DrawOp> found;
  std::copy_if(ops.begin(), ops.end(), std::back_inserter(found), [&](const DrawOp& op) {
    return op.shape == shape && (op.pen ? op.pen->colour : op.brush.value_or(~0u)) == colour;
  });
  return found;
}

// The first text operation writing `text`, or nullopt.
inline std::optional<DrawOp> TextOp(const std::vector<DrawOp>& ops, std::string_view text) {
  const auto it = std::find_if(ops.begin(), ops.end(), [&](const DrawOp& op) {
    return op.shape == DrawShape::kText && op.text == text;
  });
  return it != ops.end() ? std::optional<DrawOp>(*it) : std::nullopt;
}

inline Rect CornersOf(const DrawOp& op) {
  return {op.points[0].x, op.points[0].y, op.points[1].x, op.points[1].y};
}

}  // namespace pelkor::testing
