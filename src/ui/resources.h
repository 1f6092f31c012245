// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pelkor {

// Registers the icons compiled into the desktop library; a static library's resources are
// otherwise dropped by the linker.
void InitDesktopResources();

}  // namespace pelkor
