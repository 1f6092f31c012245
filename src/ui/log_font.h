// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

#include "edit/settings_sheet.h"
#include "files/settings.h"

namespace pelkor {

// The drawing font of the settings as a Qt font: face, size, weight, italic, underline and
// strike-out.
QFont ToQFont(const LogFont& font);
// A Qt font as the font dialog shows it.
FontChoice ToFontChoice(const QFont& font);

}  // namespace pelkor
