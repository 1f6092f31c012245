// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "view/paint_context.h"
#include "view/simulation_texts.h"
#include "view/text_fit.h"

namespace pelkor {

namespace {

// Culling margins in logical units: a primitive is drawn while its position lies this close to
// the visible area.
constexpr int kMargin = 25;
constexpr int kNarrowMargin = 15;
// Names stand this many pixels above a primitive, module names as far below.
constexpr int kLabelDistance = 25;
// The radius of a sink's verdict mark in pixels.
constexpr int kVerdictMarkRadius = 5;
// Registers show this many characters of their contents.
constexpr std::size_t kShownContents = 4;

// Half-sizes of the shapes in pixels at a scale.
struct ShapeSizes {
  explicit ShapeSizes(int scale) : a(20 / scale), b(40 / 3 / scale), q(10 / scale), e(3 / scale) {}
  int a;  // half the box
  int b;  // half the short side of registers and state machines
  int q;  // the notch of the source and sink shape
  int e;
};

void Label(PaintContext& paint, Point at, std::string text) {
  paint.out().Text(at, std::move(text), kTextColour);
}

// An object's ID stands at the top right of its box, or, when a label stands above the box
// already, under the box, clear of that label, the run-time text and a sink's verdict mark.
void ObjectIdLabel(PaintContext& paint, Point s, int id, bool labelAbove = false) {
  if (paint.scale() != 1 || !paint.showObjectIds())
    return;
  const int half = kObjectSize / 2;
  Label(paint, labelAbove ? Point{s.x + 2, s.y + half + 2} : Point{s.x + half, s.y - half},
        std::to_string(id));
}

void ReadyHighlight(PaintContext& paint, Point s) {
  const int m = paint.scale() <= 8 ? 10 / paint.scale() : 2;
  paint.out().Rectangle({s.x - m, s.y - m, s.x + m, s.y + m},
                        Pen{kHighlightColour, kHighlightPenWidth}, kWhite);
}

// Registers lie across and state machines stand upright: a box up to scale 8, a bar of three
// pixels at scale 16, one pixel at scale 32.
void PaintBar(PaintContext& paint, Point s, const Pen& pen, bool upright) {
  const ShapeSizes size(paint.scale());
  const Point half = upright ? Point{size.b, size.a} : Point{size.a, size.b};
  const Point bar = upright ? Point{0, 1} : Point{1, 0};
  if (paint.scale() <= 8)
    paint.out().Rectangle({s.x - half.x, s.y - half.y, s.x + half.x, s.y + half.y}, pen, kWhite);
  else if (paint.scale() == 16)
    paint.out().Line(s - bar, s + bar, pen);
  else
    paint.out().Pixel(s, pen.colour);
}

void PaintShiftRegister(PaintContext& paint, int id, const ShiftRegister& shiftRegister) {
  if (!paint.Visible(shiftRegister.position, kMargin, kNarrowMargin))
    return;
  const Point s = paint.Screen(shiftRegister.position);
  PaintBar(paint, s, paint.PenOf(kShiftRegisterKind), false);
  paint.MarkHit(s, id);
  if (paint.scale() == 1) {
    if (const RunStateReader* simulation = paint.simulation())
      Label(paint, {s.x - 17, s.y - 7},
            CellText(simulation->RegisterExitCells(id), shiftRegister.direction));
    else
      Label(paint, {s.x - 18, s.y - 7}, shiftRegister.ShiftOrderPrefix(kShownContents));
    if (shiftRegister.size > 1)
      Label(paint, {s.x, s.y - kLabelDistance}, "<" + std::to_string(shiftRegister.size) + ">");
  }
  ObjectIdLabel(paint, s, id, shiftRegister.size > 1);
}

void PaintStateMachine(PaintContext& paint, int id, const StateMachine& machine, int colourNumber,
                       int marginX) {
  if (!paint.Visible(machine.position, marginX, kMargin))
    return;
  const Point s = paint.Screen(machine.position);
  PaintBar(paint, s, paint.PenOf(colourNumber), true);
  paint.MarkHit(s, id);
  if (paint.simulation() != nullptr && paint.simulation()->MachineReady(id))
    ReadyHighlight(paint, s);
  ObjectIdLabel(paint, s, id);
}

void PaintCounter(PaintContext& paint, int id, const Counter& counter) {
  if (!paint.Visible(counter.position, kMargin, kMargin))
    return;
  const Point s = paint.Screen(counter.position);
  const Pen pen = paint.PenOf(kCounterKind);
  const int a = ShapeSizes(paint.scale()).a;
  if (paint.scale() <= 16)
    paint.out().Ellipse({s.x - a, s.y - a, s.x + a, s.y + a}, pen, kWhite);
  else
    paint.out().Pixel(s, pen.colour);
  paint.MarkHit(s, id);
  const RunStateReader* simulation = paint.simulation();
  if (simulation != nullptr && simulation->CounterReady(id))
    ReadyHighlight(paint, s);
  if (paint.scale() <= 2) {
    const std::optional<int> count =
        simulation != nullptr ? simulation->CounterRemaining(id) : counter.countNumber;
    if (count)
      Label(paint, {s.x - 6, s.y - 6}, std::to_string(*count));
  }
  ObjectIdLabel(paint, s, id);
}

void PaintInstance(PaintContext& paint, int id, const ModuleInstance& instance, int colourNumber) {
  if (!paint.Visible(instance.position, kMargin, kMargin))
    return;
  const Point s = paint.Screen(instance.position);
  const Pen pen = paint.PenOf(colourNumber);
  const int a = ShapeSizes(paint.scale()).a;
  if (paint.scale() <= 16) {
    paint.out().Rectangle({s.x - a, s.y - a, s.x + a, s.y + a}, pen, kWhite);
    paint.out().Rectangle({s.x, s.y, s.x + a, s.y + a}, pen, pen.colour);
  } else {
    paint.out().Pixel(s, pen.colour);
  }
  paint.MarkHit(s, id);
  if (paint.scale() == 1)
    Label(paint, {s.x, s.y + kLabelDistance}, instance.moduleName);
  ObjectIdLabel(paint, s, id);
}

// The shape sources and sinks share: two filled quadrilaterals without outline and the outline
// of a triangle pointing right.
void PaintTransitionShape(PaintContext& paint, Point s, const Pen& pen, ColorRef backFill,
                          ColorRef frontFill) {
  if (paint.scale() > 16) {
    paint.out().Pixel(s, pen.colour);
    return;
  }
  const ShapeSizes size(paint.scale());
  const int a = size.a;
  const int q = size.q;
  const int e = size.e;
  paint.out().Polygon(
      {{s.x - a, s.y - a}, {s.x - a, s.y + a}, {s.x - e, s.y + q}, {s.x - e, s.y - q}},
      std::nullopt, backFill);
  paint.out().Polygon({{s.x, s.y - q}, {s.x + a, s.y}, {s.x - e, s.y + q}, {s.x - e, s.y - q}},
                      std::nullopt, frontFill);
  paint.out().Polygon({{s.x - a, s.y - a}, {s.x - a, s.y + a}, {s.x + a, s.y}}, pen, std::nullopt);
}

std::string NameLabel(const std::string& name) {
  return name.empty() ? std::string() : "<" + name + ">";
}

// Sources and sinks: the shared figure, the run-time values on it and the label above it. The
// values take as much room as the label, or the box when the label is narrower: runTokens
// reads up to the number of values asked for.
template <typename RunTokens>
void PaintTransition(PaintContext& paint, int id, Point position, ObjectKind kind,
                     const std::string& name, std::string_view replacingName, RunTokens runTokens) {
  if (!paint.Visible(position, kMargin, kMargin))
    return;
  const Point s = paint.Screen(position);
  const Pen pen = paint.PenOf(kind);
  if (kind == kSourceKind)
    PaintTransitionShape(paint, s, pen, kWhite, pen.colour);
  else
    PaintTransitionShape(paint, s, pen, pen.colour, kWhite);
  paint.MarkHit(s, id);
  if (paint.scale() == 1) {
    std::string label = replacingName.empty() ? NameLabel(name) : std::string(replacingName);
    if (const RunStateReader* simulation = paint.simulation()) {
      const LogFont& font = paint.out().font;
      const std::size_t places =
          PlacesIn(std::max(kObjectSize, TextWidth(label, font)), DigitWidth(font));
      Label(paint, s, FittedBits(runTokens(*simulation, places + 1), places));
    }
    Label(paint, {s.x, s.y - kLabelDistance}, std::move(label));
  }
  ObjectIdLabel(paint, s, id, true);
}

void PaintSource(PaintContext& paint, int id, const SourceTransition& source) {
  PaintTransition(paint, id, source.position, kSourceKind, source.name, {},
                  [id](const RunStateReader& state, std::size_t limit) {
                    return state.SourceQueueBack(id, limit);
                  });
}

// A sink's live verdict: a green or red dot below its left corner.
void PaintVerdictMark(PaintContext& paint, int id, const SinkTransition& sink) {
  const RunStateReader* simulation = paint.simulation();
  if (paint.scale() != 1 || !paint.showSinkVerdicts() || simulation == nullptr ||
      !paint.Visible(sink.position, kMargin, kMargin)) {
    return;
  }
  const SinkVerdict verdict = simulation->SinkLiveVerdict(sink, id);
  if (verdict == SinkVerdict::kNone)
    return;
  const ColorRef colour = verdict == SinkVerdict::kPass ? kPassColour : kFailColour;
  const Point s = paint.Screen(sink.position);
  const Point centre{s.x - 20, s.y + 20};
  paint.out().Ellipse({centre.x - kVerdictMarkRadius, centre.y - kVerdictMarkRadius,
                       centre.x + kVerdictMarkRadius, centre.y + kVerdictMarkRadius},
                      Pen{colour, 1}, colour);
}

void PaintSink(PaintContext& paint, int id, const SinkTransition& sink) {
  // A discarding sink says so where its name would stand, instead of writing both over each
  // other.
  PaintTransition(paint, id, sink.position, kSinkKind, sink.name,
                  sink.outputMode == 2 ? "破棄" : "",
                  [&](const RunStateReader& state, std::size_t limit) {
                    return ReceivedTokens(state, id, sink.outputMode, limit);
                  });
  PaintVerdictMark(paint, id, sink);
}

// Calls `paint` (id, record, flagged) on every record without the flag in ascending ID, then
// on those with it, collected on the way.
template <typename Record, typename Paint>
void InFlaggedOrder(const std::map<int, Record>& records, bool Record::*flag, Paint paint) {
  std::vector<std::pair<int, const Record*>> flagged;
  for (const auto& [id, record] : records) {
    if (record.*flag)
      flagged.emplace_back(id, &record);
    else
      paint(id, record, false);
  }
  for (const auto& [id, record] : flagged)
    paint(id, *record, true);
}

}  // namespace

void PaintPrimitives(PaintContext& paint, const Module& module) {
  for (const auto& [id, shiftRegister] : module.shiftRegisters)
    PaintShiftRegister(paint, id, shiftRegister);
  // State machines that switch, and instances of modules with a "new" input, are drawn after
  // the others of their kind, in their own colours.
  InFlaggedOrder(module.stateMachines, &StateMachine::twoStepMode,
                 [&](int id, const StateMachine& machine, bool switching) {
                   PaintStateMachine(paint, id, machine,
                                     switching ? kSwitchColour : kStateMachineKind,
                                     switching ? kMargin : kNarrowMargin);
                 });
  for (const auto& [id, counter] : module.counters)
    PaintCounter(paint, id, counter);
  InFlaggedOrder(module.instances, &ModuleInstance::hasNewArc,
                 [&](int id, const ModuleInstance& instance, bool creatable) {
                   PaintInstance(paint, id, instance, creatable ? kNewModuleColour : kInstanceKind);
                 });
  for (const auto& [id, source] : module.sources)
    PaintSource(paint, id, source);
  for (const auto& [id, sink] : module.sinks)
    PaintSink(paint, id, sink);
}

}  // namespace pelkor
