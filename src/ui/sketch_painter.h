// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "edit/sketch.h"

class QPainter;

namespace pelkor {

// Draws a sketch in order with the painter's font; coordinates are the painter's pixels.
void PaintSketch(QPainter& painter, const Sketch& sketch);

}  // namespace pelkor
