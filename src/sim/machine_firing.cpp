// SPDX-License-Identifier: GPL-3.0-or-later
// State machines: firing a state, the two-step firing, and readiness.
#include <algorithm>

#include "sim/step_parts.h"

namespace pelkor {

namespace {

// The exit values of the registers of the given variables; an unbound variable reads EMPTY.
int ReadExits(const std::vector<ShiftRegisterRuntime*>& inputs, int* values) {
  const std::size_t count = std::min(inputs.size(), kMaxInputValues);
  for (std::size_t k = 0; k < count; ++k) {
    values[k] = inputs[k] != nullptr ? inputs[k]->ExitValue() : EMPTY;
  }
  return static_cast<int>(count);
}

// The lowest-numbered outgoing arc whose selection result is 1, evaluated on the exit values
// without taking them; nullptr when none is.
const StateArcTarget* SelectArc(StateRuntime& state) {
  int values[kMaxInputValues];
  const int count = ReadExits(state.selectionRegisters.inputs, values);
  Evaluate(state.selectionProgram, values, count, state.selectionCount, state.results.data());
  for (int k = 0; k < state.selectionCount; ++k) {
    if (state.results[k] == 1 && state.arcs[k].number != 0)
      return &state.arcs[k];
  }
  return nullptr;
}

// Fires a state: outputs written, the consume set emptied, and the arc it takes returned
// (nullptr for none, also when a missing input or a refused output ends the firing early).
const StateArcTarget* FireState(StateRuntime& state) {
  const std::vector<ShiftRegisterRuntime*>& inputs = state.outputRegisters.inputs;
  if (!std::all_of(inputs.begin(), inputs.end(), [](const ShiftRegisterRuntime* input) {
        return input != nullptr && input->ExitValue() != EMPTY;
      })) {
    return nullptr;
  }
  int values[kMaxInputValues];
  const int count = ReadExits(inputs, values);
  Evaluate(state.outputProgram, values, count, state.outputCount, state.results.data());
  for (int k = 0; k < state.outputCount; ++k) {
    ShiftRegisterRuntime* output = state.outputRegisters.outputs[static_cast<std::size_t>(k)];
    if (output != nullptr && !output->Put(state.results[k]))
      return nullptr;
  }
  const StateArcTarget* taken = SelectArc(state);
  for (ShiftRegisterRuntime* consumed : state.consumeSet)
    consumed->ClearExit();
  return taken;
}

// Without an arc the number becomes 0 but the state object stays, to be tested and fired again.
void MoveTo(StateMachineRuntime& machine, const StateArcTarget* arc) {
  machine.currentNumber = arc != nullptr ? arc->number : 0;
  if (arc != nullptr)
    machine.current = arc->index;
}

bool IsEnabled(const StateRuntime& state) {
  return state.hasRegisters && state.outputRegisters.InputsHaveTokens() &&
         state.selectionRegisters.InputsHaveTokens() && state.outputRegisters.OutputsCanAccept();
}

}  // namespace

void FireMachine(StateMachineRuntime& machine) {
  if (!machine.twoStepMode) {
    MoveTo(machine, FireState(machine.Current()));
    return;
  }
  // The deciding state only chooses; the chosen state fires; then the tokens the choice read
  // are used up.
  StateRuntime& deciding = machine.Current();
  MoveTo(machine, SelectArc(deciding));
  MoveTo(machine, FireState(machine.Current()));
  for (ShiftRegisterRuntime* input : deciding.selectionRegisters.inputs) {
    if (input != nullptr && input->HasToken())
      input->ClearExit();
  }
}

bool IsMachineReady(StateMachineRuntime& machine) {
  StateRuntime& current = machine.Current();
  bool ready = IsEnabled(current);
  if (ready && machine.twoStepMode) {
    const StateArcTarget* chosen = SelectArc(current);
    ready = chosen != nullptr && IsEnabled(machine.states[chosen->index]);
  }
  machine.ready = ready;
  return ready;
}

}  // namespace pelkor
