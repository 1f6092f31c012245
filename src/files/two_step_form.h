#pragma once

#include <string_view>

#include "model/primitives.h"

namespace pelkor {

// Whether a regenerated machine has the two-step form that sets its `twoStepMode`: a main
// state that only chooses (no outputs in its first text, two or more in its second), and
// every other state producing outputs and then always returning through one arc chosen by a
// condition "X | ~X". Used when a machine is read and when its editor is confirmed.
bool IsTwoStepForm(const StateMachine& machine);

// Whether a second text, white space removed, reads "name=X|~X;...": the first "|" directly
// followed by "~", with the same text between the first "=" and that "|" as between the "~"
// and the next ";".
bool IsAlwaysTrueChoice(std::string_view source);

}  // namespace pelkor
