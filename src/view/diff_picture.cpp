// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/diff_picture.h"

#include <cstdint>
#include <map>
#include <set>

#include "model/clipboard.h"
#include "view/paint_context.h"
#include "view/picture_view.h"
#include "view/scene.h"

namespace pelkor {

namespace {

// Some primitives and arcs of one version, to be drawn on their own in one colour.
struct Part {
  std::set<int> objects;
  std::set<int> arcs;
};

struct Parts {
  Part removed;  // of the older version
  Part changed;  // of the newer version, as the others
  Part added;
  std::vector<Point> oldPlaces;  // of the moved objects
};

Parts PartsOf(const std::vector<ObjectChange>& changes) {
  Parts parts;
  for (const ObjectChange& change : changes) {
    const bool isArc = change.ids.kind == kArcChangeKind;
    switch (change.change) {
      case ChangeKind::kRemoved:
        (isArc ? parts.removed.arcs : parts.removed.objects).insert(*change.ids.before);
        break;
      case ChangeKind::kAdded:
        (isArc ? parts.added.arcs : parts.added.objects).insert(*change.ids.after);
        break;
      case ChangeKind::kChanged:
        (isArc ? parts.changed.arcs : parts.changed.objects).insert(*change.ids.after);
        [[fallthrough]];
      case ChangeKind::kMoved:
        if (!isArc && change.positionBefore != change.positionAfter)
          parts.oldPlaces.push_back(*change.positionBefore);
        break;
    }
  }
  return parts;
}

// A module of the part's primitives and arcs; the ends of its arcs that are not in the part
// are copied too, and listed in `endsOnly`, so that the arcs reach them.
Module PartModule(const Module& module, const Part& part, std::set<int>& endsOnly) {
  Module copy;
  std::map<int, int> copyOf;
  const auto add = [&](int id) -> bool {
    if (copyOf.contains(id))
      return true;
    const std::optional<int> copied = AddCopyOf(module, id, module.KindOf(id), copy, Point{});
    if (copied)
      copyOf[id] = *copied;
    return copied.has_value();
  };
  for (const int id : part.objects)
    add(id);
  for (const int arcId : part.arcs) {
    const Arc& arc = module.arcs.at(arcId);
    for (const int end : {arc.from, arc.to}) {
      if (!part.objects.contains(end) && add(end))
        endsOnly.insert(copyOf.at(end));
    }
    if (copyOf.contains(arc.from) && copyOf.contains(arc.to))
      copy.AddArc(copyOf.at(arc.from), copyOf.at(arc.to), arc.bends, arc.name);
  }
  return copy;
}

constexpr ColorRef kUnchangedTextColour = Rgb(150, 150, 150);

ColorRef Pale(ColorRef colour) {
  const auto mix = [&](int shift) {
    return static_cast<std::uint8_t>((((colour >> shift) & 0xff) + 3 * 255) / 4);
  };
  return Rgb(mix(0), mix(8), mix(16));
}

// Draws the part as the view would, every outline and text in `colour`, white fills pale.
void PaintPart(const Module& module, const Part& part, ColorRef colour, const ViewState& view,
               const ViewStyle& style, DrawList& out) {
  if (part.objects.empty() && part.arcs.empty())
    return;
  std::set<int> endsOnly;
  Module copy = PartModule(module, part, endsOnly);
  DrawList list;
  list.Reset(view.width, view.height, style.font);
  PaintContext paint(view, style, nullptr, list, nullptr);
  PaintArcs(paint, copy);
  for (const int id : endsOnly)
    copy.selection.Add(copy, id);
  copy.selection.DeleteSelected(copy);
  PaintPrimitives(paint, copy);
  for (DrawOp& op : list.ops) {
    if (op.pen)
      op.pen->colour = colour;
    if (op.brush)
      op.brush = *op.brush == kWhite ? Pale(colour) : colour;
    out.ops.push_back(std::move(op));
  }
}

// The newer version with the removed objects and the old places added, for the picture's size.
Module BothVersions(const Module& before, const Module& after, const Parts& parts) {
  Module both = after;
  for (const int id : parts.removed.objects)
    AddCopyOf(before, id, before.KindOf(id), both, Point{});
  for (const int id : parts.removed.arcs)
    both.AddArc(0, 0, before.arcs.at(id).bends, {});
  for (const Point place : parts.oldPlaces) {
    ShiftRegister mark;
    mark.position = place;
    both.AddShiftRegister(mark);
  }
  return both;
}

}  // namespace

ViewState DiffPictureView(const Module& before, const Module& after,
                          const std::vector<ObjectChange>& changes, int zoomLevel) {
  return PictureView(BothVersions(before, after, PartsOf(changes)), zoomLevel);
}

DrawList DiffPicture(const Module& before, const Module& after,
                     const std::vector<ObjectChange>& changes, const ViewStyle& style,
                     int zoomLevel) {
  const Parts parts = PartsOf(changes);
  const ViewState view = DiffPictureView(before, after, changes, zoomLevel);
  // What stayed as it was is drawn pale, so that the marked objects stand out.
  ViewStyle unchanged = style;
  for (auto& [number, colour] : unchanged.colours) {
    if (number != kBackgroundColour && number != kGridColour)
      colour = Pale(colour);
  }
  Frame frame;
  PaintScene(after, view, unchanged, nullptr, {}, frame, nullptr);
  DrawList& picture = frame.picture;
  for (DrawOp& op : picture.ops) {
    if (op.shape == DrawShape::kText)
      op.pen->colour = kUnchangedTextColour;
  }
  const int half = kObjectSize / view.scale / 2;
  for (const Point place : parts.oldPlaces) {
    const Point at = view.viewport().ToScreen(place);
    picture.Rectangle({at.x - half, at.y - half, at.x + half, at.y + half},
                      Pen{kOldPlaceColour, 1, PenStyle::kDotted}, std::nullopt);
  }
  PaintPart(before, parts.removed, kRemovedColour, view, style, picture);
  PaintPart(after, parts.changed, kChangedColour, view, style, picture);
  PaintPart(after, parts.added, kAddedColour, view, style, picture);
  return std::move(picture);
}

}  // namespace pelkor
