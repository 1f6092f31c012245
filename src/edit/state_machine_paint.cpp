// SPDX-License-Identifier: GPL-3.0-or-later
// The state machine editor's picture: its sketch and hit map, rebuilt together.
#include <string>
#include <utility>

#include "edit/state_machine_editor.h"
#include "view/arrow_geometry.h"

namespace pelkor {

namespace {

constexpr ColorRef kWhite = Rgb(255, 255, 255);
constexpr ColorRef kBlack = Rgb(0, 0, 0);
constexpr ColorRef kArcPen = Rgb(50, 255, 125);
constexpr ColorRef kStatePen = Rgb(0, 0, 255);
constexpr ColorRef kSelectedPen = Rgb(200, 50, 50);  // the view's highlight
constexpr int kPenWidth = 2;
constexpr int kSelectedPenWidth = 3;

SketchOp Shape(SketchOp::Kind kind, Point from, Point to, ColorRef pen) {
  SketchOp op;
  op.kind = kind;
  op.from = from;
  op.to = to;
  op.colour = pen;
  op.penWidth = kPenWidth;
  op.fill = kWhite;
  return op;
}

SketchOp Line(Point from, Point to, bool selected) {
  SketchOp op = Shape(SketchOp::Kind::kLine, from, to, selected ? kSelectedPen : kArcPen);
  if (selected)
    op.penWidth = kSelectedPenWidth;
  return op;
}

SketchOp Text(Point topLeft, std::string text) {
  SketchOp op = Shape(SketchOp::Kind::kText, topLeft, topLeft, kBlack);
  op.text = std::move(text);
  return op;
}

}  // namespace

void StateMachineEditor::DrawArrow(Point from, Point to, bool selected) {
  const ArrowWings wings = ArrowWingsAt(from, to, kArrowStroke);
  sketch_.push_back(Line(from, to, selected));
  sketch_.push_back(Line(to, wings.first, selected));
  sketch_.push_back(Line(to, wings.second, selected));
}

void StateMachineEditor::Repaint() {
  sketch_.clear();
  hitMap_.Clear();
  sketch_.push_back(Shape(SketchOp::Kind::kFillRect, {1, 1}, {width_ - 1, height_ - 1}, kWhite));

  if (arcInProgress_) {
    Point p = CentreOf(arcSource_);
    for (const Point bend : bends_) {
      DrawArrow(p, bend);
      p = bend;
    }
    DrawArrow(p, rubberEnd_);
  }
  for (const auto& [id, arc] : working_.stateArcs) {
    const std::vector<Point> line = ArcLine(arc);
    for (std::size_t i = 1; i < line.size(); ++i)
      DrawArrow(line[i - 1], line[i], id == selectedArc_);
    const Point p = line[line.size() - 2];
    const Point end = line.back();
    if (!arc.name.empty()) {
      sketch_.push_back(Text({(p.x + end.x) / 2, (p.y + end.y) / 2}, arc.name));
    }
  }
  for (const auto& [id, state] : working_.states) {
    const Point centre = state.position;
    const Point corner{kStateRadius, kStateRadius};
    sketch_.push_back(Shape(SketchOp::Kind::kEllipse, centre - corner, centre + corner, kStatePen));
    sketch_.push_back(Text(centre, std::to_string(id)));
    hitMap_.MarkSquare(centre, kStateRadius, id);
  }
}

}  // namespace pelkor
