// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "view/run_state_reader.h"

namespace pelkor {

// The texts the view writes on primitives while a simulation runs.

// A register's cells, exit cell first: "0", "1", a blank for an empty cell. Reversed for a
// register that shifts right (direction 2), so the exit cell stands where the data flow to.
std::string CellText(const ShownTokens& exitFirst, int direction);
// "1" for 1 and "0" for anything else.
std::string BitText(const ShownTokens& values);
// A "Little" sink (output mode 1) shows its last values, last first; a "Big" one (mode 0) its
// first values, first first; the other modes show nothing. Up to `limit` values.
ShownTokens ReceivedTokens(const RunStateReader& state, int sinkId, int outputMode,
                           std::size_t limit);

}  // namespace pelkor
