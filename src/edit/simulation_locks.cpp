// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/simulation_locks.h"

namespace pelkor {

// Only how a register is drawn is outside what the check compiles: contents, sizes, data,
// texts, modes and the port names that bind arcs all went into the run.
bool RunningSimulationTakes(DialogField field) {
  return field == DialogField::kRegisterDirection;
}

ShiftRegister TakenWhileSimulating(const ShiftRegister& before, const ShiftRegister& edited) {
  ShiftRegister taken = before;
  taken.direction = edited.direction;
  return taken;
}

}  // namespace pelkor
