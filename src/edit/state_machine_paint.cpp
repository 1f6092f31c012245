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
constexpr int kPenWidth = 2;

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

SketchOp Line(Point from, Point to) {
  return Shape(SketchOp::Kind::kLine, from, to, kArcPen);
}

SketchOp Text(Point topLeft, std::string text) {
  SketchOp op = Shape(SketchOp::Kind::kText, topLeft, topLeft, kBlack);
  op.text = std::move(text);
  return op;
}

}  // namespace

void StateMachineEditor::DrawArrow(Point from, Point to) {
  const ArrowWings wings = ArrowWingsAt(from, to, kArrowStroke);
  sketch_.push_back(Line(from, to));
  sketch_.push_back(Line(to, wings.first));
  sketch_.push_back(Line(to, wings.second));
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
    Point p = CentreOf(arc.from);
    for (const Point bend : arc.bends) {
      DrawArrow(p, bend);
      p = bend;
    }
    const Point end = PointBefore(p, CentreOf(arc.to), kArcStopShort);
    DrawArrow(p, end);
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
