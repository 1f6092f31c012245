// SPDX-License-Identifier: GPL-3.0-or-later
#include <map>
#include <string>

#include "export/logic_generation.h"
#include "expr/function_text.h"

namespace pelkor {
namespace {

// The right sides of a raw text, one per line, each ended by LF: what ExtractRightSides keeps
// of a translated text, here applied to the text as typed.
std::string RawRightSides(const std::string& text) {
  FunctionText scratch;
  scratch.translated = text;
  ExtractRightSides(scratch);
  return scratch.rightSides;
}

// The statement of `secondText` that selects the state arc `name`, from the name's first
// occurrence to the next ";", with that ";". Empty when the text holds no such statement, so
// nothing outside the text is ever read.
std::string ArcCondition(const std::string& secondText, const std::string& name) {
  if (name.empty())
    return {};
  const auto start = secondText.find(name);
  if (start == std::string::npos)
    return {};
  const auto end = secondText.find(';', start);
  if (end == std::string::npos)
    return {};
  return secondText.substr(start, end - start) + ";";
}

class StateMachineModuleBuilder {
 public:
  explicit StateMachineModuleBuilder(const StateMachine& machine) : machine_(machine) {}

  Module Build() && {
    AddPorts();
    if (StateOrBlank(machine_.mainState).firstText.source.empty()) {
      AddGuardedForm();
    } else {
      AddRingForm();
    }
    return std::move(module_);
  }

 private:
  // A machine without its main state (or a state arc to a missing state) reads as a blank
  // state instead of failing: the export writes what there is.
  const MachineState& StateOrBlank(int id) const {
    static const MachineState kBlank;
    const auto found = machine_.states.find(id);
    return found == machine_.states.end() ? kBlank : found->second;
  }

  // A source (input) or sink (output) per name, each with a register beside it.
  void AddPorts() {
    Point at{200, 200};
    for (const std::string& name : machine_.inputNames) {
      SourceTransition source;
      source.name = name;
      source.position = at;
      const int sourceId = module_.AddSource(source);
      const int reg = AddRegister({at.x + 50, at.y});
      module_.AddArc(sourceId, reg, {}, "");
      inputRegisters_[name] = reg;
      at.y += 50;
    }
    at = {500, 200};
    for (const std::string& name : machine_.outputNames) {
      SinkTransition sink;
      sink.name = name;
      sink.position = at;
      const int sinkId = module_.AddSink(sink);
      const int reg = AddRegister({at.x - 50, at.y});
      module_.AddArc(reg, sinkId, {}, "");
      outputRegisters_[name] = reg;
      at.y += 50;
    }
  }

  // One machine per state arc out of the main state, guarded by the arc's condition and
  // computing the target state's outputs.
  void AddGuardedForm() {
    const MachineState& main = StateOrBlank(machine_.mainState);
    Point at = FirstMachinePosition();
    const auto [begin, end] = machine_.stateArcsOutOf.equal_range(machine_.mainState);
    for (auto entry = begin; entry != end; ++entry) {
      const auto arc = machine_.stateArcs.find(entry->second);
      if (arc == machine_.stateArcs.end())
        continue;
      const MachineState& target = StateOrBlank(arc->second.to);
      const std::string rightSide =
          RawRightSides(ArcCondition(main.secondText.source, arc->second.name));
      const int machine = AddMachine(at, "?" + rightSide + "\r\n" + target.firstText.source);
      AddInputArcs(target.firstText, machine);
      AddInputArcs(main.secondText, machine);
      AddOutputArcs(target.firstText, machine);
      at.y += 50;
    }
  }

  // One machine per state, each reading the ring register ("seniin") and writing it back
  // ("seniout"); the main state is guarded by the ring's token, every other state by its
  // complement.
  void AddRingForm() {
    ShiftRegister ring;
    ring.position = {0, 0};
    const bool mainFirst =
        !machine_.states.empty() && machine_.states.begin()->first == machine_.mainState;
    ring.contents = mainFirst ? "1" : "0";
    const int ringReg = module_.AddShiftRegister(ring);

    Point at = FirstMachinePosition();
    for (const auto& [id, state] : machine_.states) {
      const std::string next = RawRightSides(state.secondText.source);
      std::string text;
      if (id == machine_.mainState) {
        text = "?seniin;\r\n" + state.firstText.source + "\r\nseniout = ~" +
               (next.empty() ? "seniin" : next);
      } else {
        text = "?~seniin;\r\n" + state.firstText.source +
               "\r\nseniout = " + (state.secondText.outputs.empty() ? "seniin;" : next);
      }
      const int machine = AddMachine(at, text);
      AddInputArcs(state.firstText, machine);
      AddInputArcs(state.secondText, machine);
      AddOutputArcs(state.firstText, machine);
      module_.AddArc(machine, ringReg, {}, "seniout");
      module_.AddArc(ringReg, machine, {}, "seniin");
      at.y += 50;
    }
  }

  Point FirstMachinePosition() const {
    return {350, 250 - 25 * static_cast<int>(machine_.states.size())};
  }

  int AddRegister(Point at) {
    ShiftRegister reg;
    reg.position = at;
    return module_.AddShiftRegister(reg);
  }

  int AddMachine(Point at, const std::string& source) {
    return module_.AddStateMachine(SingleStateMachine(at, source));
  }

  // A name without a port register (derived names out of date) gets no arc.
  void AddInputArcs(const FunctionText& text, int machine) {
    for (const auto& [name, number] : text.inputs) {
      if (const auto reg = inputRegisters_.find(name); reg != inputRegisters_.end()) {
        module_.AddArc(reg->second, machine, {}, name);
      }
    }
  }

  void AddOutputArcs(const FunctionText& text, int machine) {
    for (const auto& [name, number] : text.outputs) {
      if (const auto reg = outputRegisters_.find(name); reg != outputRegisters_.end()) {
        module_.AddArc(machine, reg->second, {}, name);
      }
    }
  }

  const StateMachine& machine_;
  Module module_;
  std::map<std::string, int> inputRegisters_;   // input name -> the register its source fills
  std::map<std::string, int> outputRegisters_;  // output name -> the register its sink empties
};

}  // namespace

Module BuildStateMachineModule(const StateMachine& machine) {
  return StateMachineModuleBuilder(machine).Build();
}

}  // namespace pelkor
