// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/logic_generation.h"

#include <utility>

#include "export/bsp_writer.h"

namespace pelkor {

StateMachine SingleStateMachine(Point position, const std::string& source) {
  StateMachine machine;
  MachineState state;
  state.position = {100, 100};
  state.firstText.source = source;
  state.isMain = true;
  machine.states.emplace(1, std::move(state));
  machine.mainState = 1;
  machine.position = position;
  machine.ResetNextIds();
  return machine;
}

void WriteCounterModule(BspDocument& file, const std::string& fileName, const Counter& counter) {
  WriteBsp(file, BuildCounterModule(counter), fileName);
}

void WriteStateMachineModule(BspDocument& file, const std::string& fileName,
                             const StateMachine& machine) {
  WriteBsp(file, BuildStateMachineModule(machine), fileName);
}

}  // namespace pelkor
