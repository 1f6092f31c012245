// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small modules built in code, for the simulation tests and the engine's fuzz target.

#include <optional>
#include <string>
#include <vector>

#include "model/module.h"

namespace pelkor::testing {

// A register with one empty cell more than its contents, or with `fixedSize` cells.
inline int AddRegister(Module& module, const std::string& contents = "",
                       std::optional<int> fixedSize = std::nullopt) {
  ShiftRegister shiftRegister;
  shiftRegister.contents = contents;
  shiftRegister.sizeFixed = fixedSize.has_value();
  shiftRegister.size = fixedSize.value_or(1);
  return module.AddShiftRegister(shiftRegister);
}

// Flags of a source, to be or-ed.
enum SourceFlag { kHexDisplay = 1, kHoldValue = 2, kFromEnd = 4 };

inline int AddSource(Module& module, const std::string& data, const std::string& name = "",
                     int flags = 0) {
  SourceTransition source;
  source.data = data;
  source.name = name;
  source.hexDisplay = (flags & kHexDisplay) != 0;
  source.holdValue = (flags & kHoldValue) != 0;
  source.fromEnd = (flags & kFromEnd) != 0;
  return module.AddSource(source);
}

inline int AddSink(Module& module, const std::string& name = "") {
  SinkTransition sink;
  sink.name = name;
  return module.AddSink(sink);
}

inline int AddCounter(Module& module, const std::string& text, int countNumber) {
  Counter counter;
  counter.countText.source = text;
  counter.countNumber = countNumber;
  counter.Regenerate();
  return module.AddCounter(counter);
}

struct StateSpec {
  int number;
  std::string firstText;
  std::string secondText;
};

struct StateArcSpec {
  int from;
  int to;
  std::string name;
};

inline int AddMachine(Module& module, const std::vector<StateSpec>& states,
                      const std::vector<StateArcSpec>& arcs, int mainState,
                      bool twoStepMode = false) {
  StateMachine machine;
  for (const StateSpec& wanted : states) {
    MachineState& state = machine.states[wanted.number];
    state.firstText.source = wanted.firstText;
    state.secondText.source = wanted.secondText;
    state.isMain = wanted.number == mainState;
  }
  int arcId = 1;
  for (const StateArcSpec& wanted : arcs) {
    machine.stateArcs[arcId] = Arc{wanted.from, wanted.to, {}, wanted.name};
    machine.stateArcsOutOf.emplace(wanted.from, arcId);
    machine.stateArcsInto.emplace(wanted.to, arcId);
    ++arcId;
  }
  machine.mainState = mainState;
  machine.twoStepMode = twoStepMode;
  machine.ResetNextIds();
  machine.Regenerate();
  return module.AddStateMachine(machine);
}

inline int AddInstance(Module& module, const std::string& moduleName) {
  ModuleInstance instance;
  instance.moduleName = moduleName;
  return module.AddInstance(instance);
}

inline void Connect(Module& module, int from, int to, const std::string& name = "") {
  module.AddArc(from, to, {}, name);
}

// A source named `name` feeding a register of its own, as a port of the module; returns the
// register.
inline int AddPort(Module& module, const std::string& name,
                   std::optional<int> fixedSize = std::nullopt) {
  const int shiftRegister = AddRegister(module, "", fixedSize);
  Connect(module, AddSource(module, "", name), shiftRegister);
  return shiftRegister;
}

// An instance placed with arcs "new" and "delete" from registers of its own.
struct DynamicPlacement {
  int instance = 0;
  int newArc = 0;
  int deleteArc = 0;
};

inline DynamicPlacement PlaceDynamic(Module& module, const std::string& moduleName,
                                     const std::string& newArcContents = "") {
  DynamicPlacement placed;
  placed.newArc = AddRegister(module, newArcContents);
  placed.deleteArc = AddRegister(module);
  placed.instance = AddInstance(module, moduleName);
  Connect(module, placed.newArc, placed.instance, "new");
  Connect(module, placed.deleteArc, placed.instance, "delete");
  return placed;
}

}  // namespace pelkor::testing
