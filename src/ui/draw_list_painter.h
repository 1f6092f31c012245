#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>

#include "view/draw_list.h"

namespace pelkor {

// Lets the settings' default face, a Windows font, be drawn with an installed Japanese one.
// The application calls it once at start, before any view font is made.
void InstallFontSubstitutions();

// The view font of the settings: height in pixels, weight, italic, underline, strike-out.
QFont ViewFont(const LogFont& font);

// Replays a draw list onto the painter's device, from its top-left corner, pixel for pixel as
// the list's rules say (aliased shapes, exclusive right and bottom corners).
void PaintDrawList(QPainter& painter, const DrawList& list);

// Paints the list into `image`, which becomes the list's size when it is not already.
void RenderDrawList(const DrawList& list, QImage& image);

}  // namespace pelkor
