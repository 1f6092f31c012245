// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/geometry.h"

namespace pelkor {

// A window's outer rectangle (frame included, right and bottom exclusive) brought into the
// screen area it may take: no larger than that area, and moved by as little as needed so that
// all of it, the title and the status bar among it, lies inside. A window that fits stays.
Rect FitWindowIntoScreen(Rect frame, Rect available);

}  // namespace pelkor
