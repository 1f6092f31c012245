// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/log_font.h"

#include <algorithm>
#include <cstdlib>

#include "ui/qt_values.h"

namespace pelkor {

QFont ToQFont(const LogFont& font) {
  QFont qfont(ToQString(font.faceName));
  if (font.height != 0)
    qfont.setPixelSize(std::abs(font.height));
  qfont.setWeight(
      static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? 400 : font.weight, 1, 1000)));
  qfont.setItalic(font.italic != 0);
  qfont.setUnderline(font.underline != 0);
  qfont.setStrikeOut(font.strikeOut != 0);
  return qfont;
}

FontChoice ToFontChoice(const QFont& font) {
  const double points =
      font.pointSizeF() > 0 ? font.pointSizeF() : PointsOfHeight(std::max(font.pixelSize(), 0));
  return {ToStdString(font.family()), points,          font.weight(), font.italic(),
          font.underline(),           font.strikeOut()};
}

}  // namespace pelkor
