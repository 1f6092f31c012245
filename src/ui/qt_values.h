// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <string>

#include "base/geometry.h"
#include "files/settings.h"

namespace pelkor {

// Core values to Qt and back: texts are UTF-8 in the core, colours 0x00BBGGRR.
inline QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}
inline std::string ToStdString(const QString& text) {
  return text.toStdString();
}
inline QColor ToQColor(ColorRef colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}
inline QPoint ToQPoint(Point p) {
  return {p.x, p.y};
}
inline Point ToPoint(QPoint p) {
  return {p.x(), p.y()};
}

}  // namespace pelkor
