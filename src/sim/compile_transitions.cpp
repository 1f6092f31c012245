// SPDX-License-Identifier: GPL-3.0-or-later
// Counters and state machines: their programs, their arcs bound to variables, consume sets.
#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "base/errors.h"
#include "expr/expression_engine.h"
#include "sim/compile.h"
#include "sim/compile_steps.h"

namespace pelkor {

namespace {

// Where on an arc the transition's register stands.
enum class RegisterEnd { kFrom, kTo };

enum class ArcFault { kNone, kNotRegister, kUnnamed, kNamesRepeat };

struct ArcSide {
  ArcFault fault = ArcFault::kNone;
  std::size_t count = 0;  // arcs visited
};

// The arc checks of one side of a counter or machine with `variableCount` variables on that
// side: every arc must reach a register, must be named when there are several variables, and
// several arcs must carry distinct names. `bind` is given each good arc with its register.
template <typename Bind>
ArcSide CheckArcs(const std::vector<const Arc*>& arcs, NetRuntime& runtime, RegisterEnd end,
                  std::size_t variableCount, Bind bind) {
  ArcSide side;
  std::set<std::string> names;
  for (const Arc* arc : arcs) {
    ++side.count;
    ShiftRegisterRuntime* shiftRegister =
        runtime.FindRegister(end == RegisterEnd::kFrom ? arc->from : arc->to);
    if (shiftRegister == nullptr) {
      side.fault = ArcFault::kNotRegister;
      return side;
    }
    if (variableCount > 1 && arc->name.empty()) {
      side.fault = ArcFault::kUnnamed;
      return side;
    }
    names.insert(arc->name);
    bind(*arc, shiftRegister);
  }
  if (side.count != 1 && names.size() < side.count)
    side.fault = ArcFault::kNamesRepeat;
  return side;
}

TextBinding UnboundSlots(const FunctionText& text) {
  TextBinding binding;
  binding.inputs.assign(text.inputs.size(), nullptr);
  binding.outputs.assign(std::max<std::size_t>(text.outputs.size(), 1), nullptr);
  return binding;
}

bool AnyBound(const TextBinding& binding) {
  const auto bound = [](const ShiftRegisterRuntime* r) { return r != nullptr; };
  return std::any_of(binding.inputs.begin(), binding.inputs.end(), bound) ||
         std::any_of(binding.outputs.begin(), binding.outputs.end(), bound);
}

int CountOf(const std::map<std::string, int>& variables) {
  return static_cast<int>(variables.size());
}

// Compiles the right sides of a copy of `text` with `engine` into `postfix`; a message goes to
// the log. The module's own text stays as the design has it.
bool CompileText(OutputLog& log, ExpressionEngine& engine, const FunctionText& text,
                 std::string& postfix) {
  FunctionText compiled = text;
  ExtractRightSides(compiled);
  try {
    CompileToPostfix(engine, compiled);
  } catch (const MessageError& e) {
    log.WriteText(e.what());
    return false;
  }
  postfix = std::move(compiled.postfix);
  return true;
}

}  // namespace

void BindInput(TextBinding& binding, const FunctionText& text, const Arc& arc,
               ShiftRegisterRuntime* shiftRegister) {
  if (arc.name.empty() && text.inputs.size() == 1) {
    binding.inputs[0] = shiftRegister;
  } else if (auto it = text.inputs.find(arc.name); it != text.inputs.end()) {
    binding.inputs[static_cast<std::size_t>(it->second) - 1] = shiftRegister;
  }
}

void BindOutput(TextBinding& binding, const FunctionText& text, const Arc& arc,
                ShiftRegisterRuntime* shiftRegister) {
  if (arc.name.empty()) {
    binding.outputs[0] = shiftRegister;
  } else if (auto it = text.outputs.find(arc.name); it != text.outputs.end()) {
    binding.outputs[static_cast<std::size_t>(it->second) - 1] = shiftRegister;
  }
}

bool CompileCounter(OutputLog& log, const Module& net, NetRuntime& runtime, int id,
                    const Counter& counter, CounterRuntime& compiled) {
  const FunctionText& text = counter.countText;
  compiled.id = id;
  compiled.remaining = compiled.reload = counter.countNumber;
  ExpressionEngine engine;
  std::string postfix;
  if (!CompileText(log, engine, text, postfix) || text.outputs.size() > 1)
    return false;
  compiled.countProgram = CompiledProgram::FromPostfix(postfix);
  compiled.inputCount = CountOf(text.inputs);
  compiled.outputCount = CountOf(text.outputs);
  compiled.noInputMode = text.inputs.empty();
  compiled.registers = UnboundSlots(text);
  const ArcSide in = CheckArcs(ArcsInto(net, id), runtime, RegisterEnd::kFrom, text.inputs.size(),
                               [&](const Arc& arc, ShiftRegisterRuntime* r) {
                                 BindInput(compiled.registers, text, arc, r);
                               });
  if (in.fault != ArcFault::kNone)
    return false;
  const ArcSide out = CheckArcs(ArcsOutOf(net, id), runtime, RegisterEnd::kTo, text.outputs.size(),
                                [&](const Arc& arc, ShiftRegisterRuntime* r) {
                                  BindOutput(compiled.registers, text, arc, r);
                                });
  if (out.fault != ArcFault::kNone)
    return false;
  compiled.hasRegisters = AnyBound(compiled.registers);
  return true;
}

namespace {

// Steps a to d of one state: both programs (one engine, so expression numbers run on from the
// first text into the second) and the outgoing arcs by number. `indexOf` gives a state's place
// in the table, or nullopt for a number that names no state.
template <typename IndexOf>
bool CompileState(OutputLog& log, const StateMachine& machine, int number,
                  const MachineState& state, IndexOf indexOf, StateRuntime& compiled) {
  ExpressionEngine engine;
  std::string outputPostfix;
  std::string selectionPostfix;
  if (!CompileText(log, engine, state.firstText, outputPostfix) ||
      !CompileText(log, engine, state.secondText, selectionPostfix)) {
    return false;
  }
  compiled.number = number;
  compiled.outputProgram = CompiledProgram::FromPostfix(outputPostfix);
  compiled.outputInputCount = CountOf(state.firstText.inputs);
  compiled.outputCount = CountOf(state.firstText.outputs);
  compiled.outputRegisters = UnboundSlots(state.firstText);
  compiled.selectionProgram = CompiledProgram::FromPostfix(selectionPostfix);
  compiled.selectionInputCount = CountOf(state.secondText.inputs);
  compiled.selectionCount = CountOf(state.secondText.outputs);
  compiled.selectionRegisters.inputs.assign(state.secondText.inputs.size(), nullptr);
  compiled.arcs.assign(std::max(compiled.selectionCount, 1), StateArcTarget{});
  compiled.results.assign(std::max({compiled.outputCount, compiled.selectionCount, 1}), 0);

  auto [begin, end] = machine.stateArcsOutOf.equal_range(number);
  for (auto it = begin; it != end; ++it) {
    auto arc = machine.stateArcs.find(it->second);
    if (arc == machine.stateArcs.end())
      continue;
    int arcNumber = 1;
    if (!arc->second.name.empty()) {
      auto output = state.secondText.outputs.find(arc->second.name);
      if (output == state.secondText.outputs.end())
        continue;
      arcNumber = output->second;
    }
    // A state arc must lead to a state of this machine; one that does not is a broken design.
    const std::optional<std::size_t> target = indexOf(arc->second.to);
    if (!target)
      return false;
    compiled.arcs[static_cast<std::size_t>(arcNumber) - 1] = {arc->second.to, *target};
  }
  return true;
}

// The registers whose exit tokens a state removes when it fires: for each input name of
// either text, its register in the second text when it is an input there, else in the first.
std::vector<ShiftRegisterRuntime*> ConsumeSet(const MachineState& state,
                                              const StateRuntime& compiled) {
  std::set<std::string> names;
  for (const auto& [name, number] : state.firstText.inputs)
    names.insert(name);
  for (const auto& [name, number] : state.secondText.inputs)
    names.insert(name);
  std::vector<ShiftRegisterRuntime*> consumeSet;
  for (const std::string& name : names) {
    ShiftRegisterRuntime* shiftRegister;
    if (auto it = state.secondText.inputs.find(name); it != state.secondText.inputs.end()) {
      shiftRegister = compiled.selectionRegisters.inputs[static_cast<std::size_t>(it->second) - 1];
    } else {
      const int number = state.firstText.inputs.at(name);
      shiftRegister = compiled.outputRegisters.inputs[static_cast<std::size_t>(number) - 1];
    }
    if (shiftRegister != nullptr &&
        std::find(consumeSet.begin(), consumeSet.end(), shiftRegister) == consumeSet.end()) {
      consumeSet.push_back(shiftRegister);
    }
  }
  return consumeSet;
}

// The machine's input names (of both texts of every state) and output names (of every first
// text), from the texts themselves.
void MachineNames(const StateMachine& machine, std::set<std::string>& inputs,
                  std::set<std::string>& outputs) {
  for (const auto& [number, state] : machine.states) {
    for (const auto& [name, n] : state.firstText.inputs)
      inputs.insert(name);
    for (const auto& [name, n] : state.secondText.inputs)
      inputs.insert(name);
    for (const auto& [name, n] : state.firstText.outputs)
      outputs.insert(name);
  }
}

// Whether an arc side of a machine passed; the machine writes why it did not.
bool AcceptArcSide(OutputLog& log, ArcFault fault, std::string_view namesRepeatMessage) {
  switch (fault) {
    case ArcFault::kNone:
      return true;
    case ArcFault::kNotRegister:
      return false;
    case ArcFault::kUnnamed:
      log.WriteText("アークの名前が入力されていません");
      return false;
    case ArcFault::kNamesRepeat:
      log.WriteText(namesRepeatMessage);
      return false;
  }
  return false;
}

// Step 3 of the machine compile, with the machine's messages.
bool CheckMachineArcs(OutputLog& log, const Module& net, NetRuntime& runtime, int id,
                      const StateMachine& machine, StateMachineRuntime& compiled) {
  std::set<std::string> inputNames;
  std::set<std::string> outputNames;
  MachineNames(machine, inputNames, outputNames);

  const ArcSide in = CheckArcs(ArcsInto(net, id), runtime, RegisterEnd::kFrom, inputNames.size(),
                               [&](const Arc& arc, ShiftRegisterRuntime* r) {
                                 std::size_t index = 0;
                                 for (const auto& [number, state] : machine.states) {
                                   StateRuntime& s = compiled.states[index++];
                                   BindInput(s.outputRegisters, state.firstText, arc, r);
                                   BindInput(s.selectionRegisters, state.secondText, arc, r);
                                 }
                               });
  if (!AcceptArcSide(log, in.fault, "入力アーク本数と入力アークの名前数が等しくない"))
    return false;
  if (in.count != inputNames.size()) {
    log.WriteText("入力アーク本数と入力アークの名前数が等しくありません");
    return false;
  }

  const ArcSide out =
      CheckArcs(ArcsOutOf(net, id), runtime, RegisterEnd::kTo, outputNames.size(),
                [&](const Arc& arc, ShiftRegisterRuntime* r) {
                  std::size_t index = 0;
                  for (const auto& [number, state] : machine.states) {
                    BindOutput(compiled.states[index++].outputRegisters, state.firstText, arc, r);
                  }
                });
  constexpr std::string_view kOutputNamesDiffer = "出力アーク本数と出力アークの名前数が等しくない";
  if (!AcceptArcSide(log, out.fault, kOutputNamesDiffer))
    return false;
  if (out.count != outputNames.size()) {
    log.WriteText(kOutputNamesDiffer);
    return false;
  }
  return true;
}

}  // namespace

bool CompileStateMachine(OutputLog& log, const Module& net, NetRuntime& runtime, int id,
                         const StateMachine& machine, StateMachineRuntime& compiled) {
  compiled.id = id;
  compiled.twoStepMode = machine.twoStepMode;
  compiled.states.clear();
  compiled.states.reserve(machine.states.size());
  const auto indexOf = [&machine](int number) -> std::optional<std::size_t> {
    auto it = machine.states.find(number);
    if (it == machine.states.end())
      return std::nullopt;
    return static_cast<std::size_t>(std::distance(machine.states.begin(), it));
  };
  for (const auto& [number, state] : machine.states) {
    if (!CompileState(log, machine, number, state, indexOf, compiled.states.emplace_back())) {
      return false;
    }
  }

  const std::optional<std::size_t> main = indexOf(machine.mainState);
  if (machine.mainState == 0 || !main)
    return false;
  compiled.current = *main;
  compiled.currentNumber = machine.mainState;

  if (!CheckMachineArcs(log, net, runtime, id, machine, compiled))
    return false;

  std::size_t index = 0;
  for (const auto& [number, state] : machine.states) {
    StateRuntime& s = compiled.states[index++];
    s.consumeSet = ConsumeSet(state, s);
    s.hasRegisters = AnyBound(s.outputRegisters) || AnyBound(s.selectionRegisters);
    if (s.consumeSet.empty())
      return false;
  }
  return true;
}

}  // namespace pelkor
