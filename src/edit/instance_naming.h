// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "edit/editor_ui.h"
#include "model/module_library.h"

namespace pelkor {

// The text without white space at either end.
std::string TrimmedText(const std::string& text);

// Asks for the module of an unnamed module instance of the current module. An answer that is
// not empty once trimmed names it: the module is registered when it is new, the instance tree
// grows, and an instance that would repeat an enclosing module becomes one that only a "new"
// token creates. Returns whether the instance was named.
bool AskAndNameInstance(ModuleLibrary& library, EditorUi& ui, int instanceId);

}  // namespace pelkor
