// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "edit/command.h"
#include "model/object_kind.h"

namespace pelkor {

// The view's mode: an editing tool, or one of the two run modes, in which (as in kNone) a press
// does nothing. The six placing tools carry the kind code of what they place.
enum class Tool : int {
  kNone = 0,
  kStateMachine = kStateMachineKind,
  kShiftRegister = kShiftRegisterKind,
  kCounter = kCounterKind,
  kSource = kSourceKind,
  kSink = kSinkKind,
  kArc = 6,
  kEraser = 7,
  kMove = 8,
  kAnimatedRun = 9,
  kRunWithoutAnimation = 10,
  kModule = kInstanceKind,
};

// The tool an editing-tool command chooses, or nullopt for any other command.
std::optional<Tool> ToolOfCommand(CommandId command);

// True for the nine editing tools, false for kNone and the run modes.
bool IsEditingTool(Tool tool);

// The kind a placing tool adds, kNoKind for every other mode.
ObjectKind KindPlacedBy(Tool tool);

}  // namespace pelkor
