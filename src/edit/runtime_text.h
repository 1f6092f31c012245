#pragma once

#include <optional>
#include <string>

#include "model/primitives.h"
#include "model/runtime_instance.h"

namespace pelkor {

// What the tooltip shows while a simulation runs, read from the run-time state of the node
// whose working copy the view shows.

// The source of the first text of the state the machine is in; nullopt when it is in none.
std::optional<std::string> CurrentStateText(const RuntimeInstance& node, int machineId,
                                            const StateMachine& machine);

// The register's cells, entry first, "0" and "1" for tokens and "-" for empty cells; reversed
// unless the data flows right. Nullopt when the register has no run-time record.
std::optional<std::string> RegisterCellsText(const RuntimeInstance& node, int registerId,
                                             const ShiftRegister& shiftRegister);

}  // namespace pelkor
