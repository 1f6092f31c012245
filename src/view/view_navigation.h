// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/desktop_settings.h"
#include "view/view_state.h"

namespace pelkor {

// Zoom, scroll and pan of the editor view. Each returns whether the view changed, so that the
// caller knows to repaint; none of them refreshes the scroll bars by itself (the caller reads
// HorizontalScrollBar and VerticalScrollBar where the view refreshes them).

// Recomputes origin and scale from baseOrigin and zoomLevel: each level doubles the scale
// around the centre of the client area, so the logical point there stays where it is.
void UpdateOrigin(ViewState& view);

// One level closer (down to level 0) or farther (up to level 5).
bool ZoomIn(ViewState& view);
bool ZoomOut(ViewState& view);
// Rolling toward the user (a negative delta) zooms in, away zooms out; a delta of 0 (a tilt
// sideways) does nothing. The caller refreshes the scroll bars afterwards, and ignores the
// wheel during a middle-button pan.
bool ZoomByWheel(ViewState& view, int wheelDelta);

// Moves the view, at its zoom level, so that the client area's top-left pixel shows `origin`.
void MoveOriginTo(ViewState& view, Point origin);

// Zooms by the wheel as ZoomByWheel does, about the pointer at client pixel `pointer`: the
// logical point under it stays under it.
bool ZoomByWheelAt(ViewState& view, int wheelDelta, Point pointer);

// A turn of the wheel over the view. With WheelHabit::kScroll, Ctrl and rolling away zoom in.
struct WheelTurn {
  int delta = 0;  // positive away from the user, 120 a notch
  Point pointer;  // client pixel
  bool ctrl = false;
  bool shift = false;
};
// Returns whether the view moved.
bool TurnWheel(ViewState& view, WheelHabit habit, const WheelTurn& turn);

enum class ScrollAxis { kHorizontal, kVertical };
enum class ScrollRequest {
  kLineBack,      // line up / line left
  kLineForward,   // line down / line right
  kPageBack,      // page up / page left
  kPageForward,   // page down / page right
  kThumbTrack,    // the thumb is being dragged to `thumbPosition`
  kThumbRelease,  // the end of a thumb drag: changes nothing
};
// A scroll-bar request: moves baseOrigin on the axis, then recomputes origin and grows the
// scroll extent. The caller repaints and refreshes the scroll bars when it returns true.
bool Scroll(ViewState& view, ScrollAxis axis, ScrollRequest request, int thumbPosition = 0);

// Pans by a motion of the pointer in pixels: the picture follows it, so dragging to the right
// shows what lies further left. Recomputes origin and grows the scroll extent.
void PanByPixels(ViewState& view, Point deltaPixels);

// A new client size. The first resize sets the scroll extent to the client rectangle.
void ResizeView(ViewState& view, int width, int height);

// Widens the scroll extent to take in the visible logical area.
void GrowScrollExtent(ViewState& view);

// What a scroll bar shows: positions from `minimum` to `maximum` inclusive, of which `page`
// are visible at once, the thumb at `position`. A toolkit whose range counts thumb positions
// (Qt's QScrollBar) takes minimum to LastPosition() with page as its page step.
struct ScrollBarState {
  int minimum = 0;
  int maximum = 0;
  int page = 0;
  int position = 0;

  int LastPosition() const;
  bool operator==(const ScrollBarState&) const = default;
};
ScrollBarState HorizontalScrollBar(const ViewState& view);
ScrollBarState VerticalScrollBar(const ViewState& view);

}  // namespace pelkor
