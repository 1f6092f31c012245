// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

#include "files/settings.h"

namespace pelkor {

// The drawing font of the settings as a Qt font: face, pixel height, weight, italic,
// underline and strike-out.
QFont ToQFont(const LogFont& font);
// A chosen Qt font back into the settings; fields Qt has no notion of keep `base`'s values.
LogFont ToLogFont(const QFont& font, const LogFont& base);

}  // namespace pelkor
