// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

namespace pelkor {

// Loads Qt's own Japanese texts (file, print and message dialogs, standard buttons), as the
// rest of the application speaks Japanese whatever the locale. Returns whether they were found;
// without them Qt's dialogs stay in English.
bool InstallQtTranslations(QCoreApplication& application);

}  // namespace pelkor
