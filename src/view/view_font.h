// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/settings.h"

namespace pelkor {

// How the front ends read the drawing font of the settings. The height is taken in pixels,
// whatever its sign; 0 asks for the default height.
int FontPixelHeight(const LogFont& font);
// A weight from 1 to 1000 (400 normal, 700 bold); 0 asks for normal.
int FontWeight(const LogFont& font);

}  // namespace pelkor
