// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <variant>

#include "model/module_library.h"
#include "model/runtime_instance.h"
#include "sim/breakpoint.h"

namespace pelkor::cli {

// The breakpoint that a --break option names, `PATH:ID[:WHAT]`: the node at PATH (as the reports
// write it), the object ID of its module and the event WHAT ("token", "fire", "state=N",
// "receive", "receive=0", "receive=1", "empty"; the object kind's own event when left out).
// For a target that names no object, or an event the object cannot meet, the reason.
std::variant<Breakpoint, std::string> ResolveBreakTarget(const std::string& target,
                                                         const ModuleLibrary& library);

}  // namespace pelkor::cli
