// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>

#include "view/draw_list.h"

namespace pelkor {

// Lets the settings' default face, a Windows font, be drawn with an installed Japanese one.
// The application calls it once at start, before any view font is made.
void InstallFontSubstitutions();

// The view font of the settings: height in pixels, weight, italic, underline, strike-out.
QFont ViewFont(const LogFont& font);

// Replays draw lists with QPainter, pixel for pixel as the list's rules say (aliased shapes
// through pixel centres, exclusive right and bottom corners). One per view: it keeps sprites
// from one replay to the next.
class DrawListPainter {
 public:
  // Paints every figure onto the painter's device, from its top-left corner, under the
  // painter's transformation: for overlays, printers and PDF files.
  void Paint(QPainter& painter, const DrawList& list);
  // Paints the list into the back buffer `image`, which becomes an RGB32 image of the list's
  // size when it is not already. A view draws thousands of equal boxes, figures and labels,
  // so each small figure is painted once into a sprite and then copied.
  void Render(const DrawList& list, QImage& image);

 private:
  // An operation moved to the origin: equal keys paint equal pixels.
  struct SpriteKey {
    DrawShape shape = DrawShape::kPixel;
    std::optional<Pen> pen;
    std::optional<ColorRef> brush;
    std::array<Point, 4> points{};
    std::string text;

    bool operator==(const SpriteKey&) const = default;
  };
  struct SpriteKeyHash {
    std::size_t operator()(const SpriteKey& key) const;
  };
  struct Sprite {
    QImage image;        // the painted pixels; null when the figure is too large to keep
    QPoint offset;       // of the image's top-left corner from the operation's first point
    bool blank = false;  // the figure paints nothing (a text of blanks)
  };

  // The sprite of a small figure; its image is null when the figure is too large after all.
  const Sprite& SpriteOf(const DrawOp& op);
  void UseFont(const LogFont& font);

  std::optional<LogFont> fontOf_;
  QFont font_;
  int ascent_ = 0;
  std::unordered_map<SpriteKey, Sprite, SpriteKeyHash> sprites_;
};

}  // namespace pelkor
