// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "view/draw_list.h"

namespace pelkor {

// The picture of a draw list as an SVG document of its size, one element per operation, pixel
// for pixel as the desktop view paints it. Texts that are no valid UTF-8, or that hold control
// characters, are written with U+FFFD and blanks in their place, so the document stays valid.
std::string SvgFromDrawList(const DrawList& list);

}  // namespace pelkor
