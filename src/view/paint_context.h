// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "base/geometry.h"
#include "model/module.h"
#include "view/draw_list.h"
#include "view/hit_map.h"
#include "view/run_state_reader.h"
#include "view/scene.h"
#include "view/view_state.h"
#include "view/view_style.h"

namespace pelkor {

// What every part of one paint shares: where it draws, the mapping to pixels and the colours.
class PaintContext {
 public:
  PaintContext(const ViewState& view, const ViewStyle& style, const RunStateReader* simulation,
               DrawList& out, HitMap* hits);

  Point Screen(Point logical) const { return view_.viewport().ToScreen(logical); }
  // The position lies in the visible logical area widened by the margins.
  bool Visible(Point logical, int marginX, int marginY) const;
  // Gives the client pixels of the object's box the object's ID.
  void MarkHit(Point screen, int id) {
    if (hits_ != nullptr)
      hits_->MarkSquare(screen, kObjectSize / (2 * scale()), id);
  }

  ColorRef Colour(int number) const { return colours_[number]; }
  // The solid pen of a colour number, as wide as the scale asks.
  Pen PenOf(int number) const { return {colours_[number], penWidth_}; }

  const ViewState& view() const { return view_; }
  ColorRef selectionColour() const { return selectionColour_; }
  Point origin() const { return view_.origin; }
  int scale() const { return view_.scale; }
  int zoomLevel() const { return view_.zoomLevel; }
  int width() const { return view_.width; }
  int height() const { return view_.height; }
  bool showObjectIds() const { return view_.showObjectIds; }
  bool showSinkVerdicts() const { return view_.showSinkVerdicts; }
  int gridSize() const { return gridSize_; }
  const RunStateReader* simulation() const { return simulation_; }
  DrawList& out() { return out_; }

 private:
  const ViewState& view_;
  const RunStateReader* simulation_;
  DrawList& out_;
  HitMap* hits_;
  std::array<ColorRef, kSwitchColour + 1> colours_{};
  ColorRef selectionColour_;
  int penWidth_;
  int gridSize_;
};

// The parts of the paint sequence, each in its own file.
void PaintGrid(PaintContext& paint);
void PaintRubberBand(PaintContext& paint, const Module& module, const ArcInProgress& arc);
void PaintArcs(PaintContext& paint, const Module& module);
// The pieces of a drawn arc (ArcScreenPath), each ending in an arrowhead.
void PaintArcPath(PaintContext& paint, const std::vector<Point>& path, const Pen& pen);
// Outlines each selected object and draws each selected arc thick, in the selection colour.
void PaintSelection(PaintContext& paint, const Module& module, const Selection& selection);
void PaintPrimitives(PaintContext& paint, const Module& module);
// An outline in kBlockedColour around the object at each logical position.
void PaintBlockedOutlines(PaintContext& paint, std::span<const Point> positions);

}  // namespace pelkor
