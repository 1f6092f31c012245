// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "edit/editor_ui.h"
#include "model/module_library.h"

namespace pelkor {

// The text without white space at either end.
std::string TrimmedText(const std::string& text);

// Gives an unnamed module instance of the current module its module, `name`, already trimmed
// and not empty: the module is registered when it is new, the instance tree grows, and an
// instance that would repeat an enclosing module becomes one that only a "new" token creates.
// False when the current module has no such instance.
bool NameInstance(ModuleLibrary& library, int instanceId, const std::string& name);

}  // namespace pelkor
