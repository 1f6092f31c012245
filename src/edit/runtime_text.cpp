#include "edit/runtime_text.h"

#include <algorithm>

#include "sim/net_runtime.h"

namespace pelkor {

std::optional<std::string> CurrentStateText(const RuntimeInstance& node, int machineId,
                                            const StateMachine& machine) {
  if (!node.runtime)
    return std::nullopt;
  const StateMachineRuntime* running = node.runtime->FindMachine(machineId);
  if (running == nullptr || running->currentNumber == 0)
    return std::nullopt;
  auto state = machine.states.find(running->currentNumber);
  if (state == machine.states.end())
    return std::nullopt;
  return state->second.firstText.source;
}

std::optional<std::string> RegisterCellsText(const RuntimeInstance& node, int registerId,
                                             const ShiftRegister& shiftRegister) {
  if (!node.runtime)
    return std::nullopt;
  const ShiftRegisterRuntime* cells = node.runtime->FindRegister(registerId);
  if (cells == nullptr)
    return std::nullopt;
  std::string text;
  for (std::size_t i = 0; i < cells->size(); ++i) {
    const Token token = cells->Cell(i);
    text += token == 0 ? '0' : token == 1 ? '1' : '-';
  }
  if (shiftRegister.direction != 2)
    std::reverse(text.begin(), text.end());
  return text;
}

}  // namespace pelkor
