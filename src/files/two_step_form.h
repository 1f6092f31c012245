// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "model/primitives.h"

namespace pelkor {

// What is taken out of a second text before its choice is compared: the design-file reader
// removes all white space, the state machine editor only spaces.
enum class BlankRemoval { kAllWhiteSpace, kSpacesOnly };

// Whether a regenerated machine has the two-step form that sets its `twoStepMode`: a main
// state that only chooses (no outputs in its first text, two or more in its second), and
// every other state producing outputs and then always returning through one arc chosen by a
// condition "X | ~X". Used when a machine is read and when its editor is confirmed.
bool IsTwoStepForm(const StateMachine& machine, BlankRemoval blanks = BlankRemoval::kAllWhiteSpace);

// Whether a second text, blanks removed, reads "name=X|~X;...": the first "|" directly
// followed by "~", with the same text between the first "=" and that "|" as between the "~"
// and the next ";".
bool IsAlwaysTrueChoice(std::string_view source,
                        BlankRemoval blanks = BlankRemoval::kAllWhiteSpace);

}  // namespace pelkor
