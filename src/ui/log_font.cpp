// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/log_font.h"

#include <algorithm>
#include <cmath>
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

LogFont ToLogFont(const QFont& font, const LogFont& base) {
  LogFont result = base;
  result.faceName = CutFaceName(ToStdString(font.family()));
  // A font dialog answers in points; the settings keep pixels at the screen's 96 per inch,
  // within the sizes the settings file takes.
  result.height = FontSizeWithinRange(
      font.pixelSize() > 0 ? font.pixelSize() : std::lround(font.pointSizeF() * 96.0 / 72.0));
  result.weight = font.weight();
  result.italic = font.italic() ? 1 : 0;
  result.underline = font.underline() ? 1 : 0;
  result.strikeOut = font.strikeOut() ? 1 : 0;
  return result;
}

}  // namespace pelkor
