// SPDX-License-Identifier: GPL-3.0-or-later
// State machines in the engine: firing a state, the two-step firing, and readiness.
#include <algorithm>

#include "sim/engine.h"
#include "sim/step_parts.h"

namespace pelkor {

// The exit values of the registers of the given variables; an unbound variable reads EMPTY.
int Engine::ReadExits(const std::vector<std::uint32_t>& inputs, std::uint32_t registers,
                      int* values) const {
  const std::size_t count = std::min(inputs.size(), kMaxInputValues);
  for (std::size_t k = 0; k < count; ++k)
    values[k] = inputs[k] != kNoIndex ? ExitValue(registers + inputs[k]) : EMPTY;
  return static_cast<int>(count);
}

// The lowest-numbered outgoing arc whose selection result is 1, evaluated on the exit values
// without taking them; nullptr when none is.
const StateArcTarget* Engine::ChosenArc(const StateProgram& state, std::uint32_t registers,
                                        int* results) const {
  const int resultCount = state.selection.resultCount();
  if (resultCount == 0)
    return nullptr;
  int values[kMaxInputValues];
  ReadExits(state.selectionInputs, registers, values);
  state.selection.Run(values, results);
  for (int k = 0; k < resultCount; ++k) {
    if (results[k] == 1 && state.arcs[k].number != 0)
      return &state.arcs[k];
  }
  return nullptr;
}

const StateArcTarget* Engine::SelectArc(const StateProgram& state, std::uint32_t registers) {
  return ChosenArc(state, registers, results_.data());
}

// Fires a state: outputs written, the consume set emptied, and the arc it takes returned
// (nullptr for none, also when a missing input or a refused output ends the firing early).
const StateArcTarget* Engine::FireState(const StateProgram& state, std::uint32_t registers) {
  for (const std::uint32_t input : state.outputInputs) {
    if (input == kNoIndex || ExitValue(registers + input) == EMPTY)
      return nullptr;
  }
  int values[kMaxInputValues];
  ReadExits(state.outputInputs, registers, values);
  state.output.Run(values, results_.data());
  for (int k = 0; k < state.output.resultCount(); ++k) {
    const std::uint32_t output = state.outputs[static_cast<std::size_t>(k)];
    if (output != kNoIndex && !Put(registers + output, results_[k]))
      return nullptr;
  }
  const StateArcTarget* taken = SelectArc(state, registers);
  for (const std::uint32_t consumed : state.consumeSet)
    ClearExit(registers + consumed);
  return taken;
}

namespace {

// Without an arc the number becomes 0 but the state stays, to be tested and fired again.
void MoveTo(Engine::MachineItem& machine, const StateArcTarget* arc) {
  machine.currentNumber = arc != nullptr ? arc->number : 0;
  if (arc != nullptr)
    machine.current = static_cast<std::uint32_t>(arc->index);
}

}  // namespace

void Engine::FireMachine(MachineItem& machine) {
  const MachineProgram& program = *machine.program;
  if (!program.twoStepMode) {
    MoveTo(machine, FireState(program.states[machine.current], machine.registers));
    return;
  }
  // The deciding state only chooses; the chosen state fires; then the tokens the choice read
  // are used up.
  const StateProgram& deciding = program.states[machine.current];
  MoveTo(machine, SelectArc(deciding, machine.registers));
  MoveTo(machine, FireState(program.states[machine.current], machine.registers));
  for (const std::uint32_t input : deciding.selectionInputs) {
    if (input != kNoIndex && HasToken(machine.registers + input))
      ClearExit(machine.registers + input);
  }
}

bool Engine::IsEnabled(const StateProgram& state, std::uint32_t registers) const {
  if (!state.enableable)
    return false;
  for (const std::uint32_t input : state.needTokens) {
    if (!HasToken(registers + input))
      return false;
  }
  for (const std::uint32_t output : state.needRoom) {
    if (!CanAccept(registers + output))
      return false;
  }
  return true;
}

bool Engine::IsMachineReady(MachineItem& machine) {
  const MachineProgram& program = *machine.program;
  const StateProgram& current = program.states[machine.current];
  bool ready = IsEnabled(current, machine.registers);
  if (ready && program.twoStepMode) {
    const StateArcTarget* chosen = SelectArc(current, machine.registers);
    ready = chosen != nullptr && IsEnabled(program.states[chosen->index], machine.registers);
  }
  machine.ready = ready;
  return ready;
}

}  // namespace pelkor
