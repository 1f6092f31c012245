// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "model/module.h"

namespace pelkor {

// The structural invariants of a module that every operation must keep, or the first one
// broken, described; empty when all hold:
// - every arc is filed exactly once under its `to` in arcsInto and once under its `from` in
//   arcsOutOf, and every index entry names an existing arc filed under the right end; the same
//   for the state arcs of every state machine;
// - `kinds` maps every primitive to the code of the map holding it (so no ID stands in two
//   maps), and holds nothing but primitive codes. A `kinds` entry without a primitive is
//   allowed: deleting a selection leaves it, and IDs are never reused;
// - no ID has reached its counter (an ID at the int maximum excepted, as counters stop there).
std::string ModuleInvariantViolation(const Module& module);

// Every arc joins two existing primitives, one of them a shift register. This holds for modules
// built by the editing operations; a file may still hold arcs that break it. Empty when it holds.
std::string ArcEndsViolation(const Module& module);

// In builds with assertions, stops the program with the violation when an invariant is broken;
// the desktop calls it after every command. Does nothing in release builds.
void AssertModuleInvariants(const Module& module);

}  // namespace pelkor
