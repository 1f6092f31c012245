// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitIcons() {
  Q_INIT_RESOURCE(icons);
}

namespace pelkor {

void InitDesktopResources() {
  static const bool done = (InitIcons(), true);
  (void)done;
}

}  // namespace pelkor
