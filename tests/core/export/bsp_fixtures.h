// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Modules and expected files shared by the export tests. The expected files in
// tests/data/bsp/ were written out by hand, line by line, from the layout rules.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/module.h"

namespace pelkor::bsp_fixtures {

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string Expected(const std::string& name) {
  return ReadBytes(std::filesystem::path(PELKOR_TEST_DATA) / "bsp" / name);
}

inline MachineState State(const std::string& first, const std::string& second = "") {
  MachineState state;
  state.firstText.source = first;
  state.secondText.source = second;
  return state;
}

inline void AddStateArc(StateMachine& machine, int from, int to, const std::string& name) {
  const int id = machine.nextStateArcId++;
  machine.stateArcs[id] = {from, to, {}, name};
  machine.stateArcsOutOf.emplace(from, id);
  machine.stateArcsInto.emplace(to, id);
}

// States are numbered from 1 in the order given; the machine is regenerated, as after loading.
inline StateMachine Machine(std::vector<MachineState> states, int mainState) {
  StateMachine machine;
  int id = 1;
  for (MachineState& state : states) {
    state.isMain = id == mainState;
    machine.states[id++] = std::move(state);
  }
  machine.mainState = mainState;
  machine.ResetNextIds();
  machine.Regenerate();
  return machine;
}

// Guarded form: the main state 1 has no output program and picks state 2 ("go") or 3
// ("stop"); inputs a, b, output x.
inline StateMachine GuardedMachine() {
  StateMachine machine =
      Machine({State("", "go = a & b; stop = ~a;"), State("x = a;"), State("x = ~b;")}, 1);
  AddStateArc(machine, 1, 2, "go");
  AddStateArc(machine, 1, 3, "stop");
  AddStateArc(machine, 2, 1, "");  // not out of the main state: no machine of its own
  return machine;
}

// Ring form whose main state (2) is not the first one; state 3 selects no arc.
inline StateMachine RingMachine() {
  StateMachine machine =
      Machine({State("y = a;", "back = b;"), State("y = ~a;", "go = b;"), State("y = b;")}, 2);
  AddStateArc(machine, 1, 2, "back");
  AddStateArc(machine, 2, 3, "go");
  return machine;
}

inline ShiftRegister Register(Point at, const std::string& contents = "") {
  ShiftRegister reg;
  reg.position = at;
  reg.contents = contents;
  return reg;
}

inline SourceTransition Source(Point at, const std::string& name, const std::string& data = "") {
  SourceTransition source;
  source.position = at;
  source.name = name;
  source.data = data;
  return source;
}

inline SinkTransition Sink(Point at, const std::string& name, const std::string& expected = "") {
  SinkTransition sink;
  sink.position = at;
  sink.name = name;
  sink.expected = expected;
  return sink;
}

inline Counter CounterOf(Point at, int countNumber, const std::string& text = "") {
  Counter counter;
  counter.position = at;
  counter.countNumber = countNumber;
  counter.countText.source = text;
  return counter;
}

// Register 1 (empty), register 2 (contents "1"), source 3 "in" with data "0101", a
// one-state machine 4, sink 5 "out"; arcs 3->1, 1->4 "i", 4->2 "o", 2->5.
inline Module SampleModule() {
  Module module;
  module.AddShiftRegister(Register({100, 100}));
  module.AddShiftRegister(Register({200, 100}, "1"));
  module.AddSource(Source({50, 100}, "in", "0101"));
  StateMachine machine = Machine({State("o = ~i;")}, 1);
  machine.position = {150, 150};
  module.AddStateMachine(machine);
  module.AddSink(Sink({300, 100}, "out"));
  module.AddArc(3, 1, {}, "");
  module.AddArc(1, 4, {}, "i");
  module.AddArc(4, 2, {}, "o");
  module.AddArc(2, 5, {}, "");
  return module;
}

// Register 1, the guarded machine 2, register 3, counter 4 (count number 4), register 5 with
// contents "1"; arcs 1->2 "a", 2->3, 3->4 "go", 4->5.
inline Module HierarchyModule() {
  Module module;
  module.AddShiftRegister(Register({0, 0}));
  StateMachine machine = GuardedMachine();
  machine.position = {100, 0};
  module.AddStateMachine(machine);
  module.AddShiftRegister(Register({200, 0}));
  module.AddCounter(CounterOf({300, 0}, 4));
  module.AddShiftRegister(Register({400, 0}, "1"));
  module.AddArc(1, 2, {}, "a");
  module.AddArc(2, 3, {}, "");
  module.AddArc(3, 4, {}, "go");
  module.AddArc(4, 5, {}, "");
  return module;
}

}  // namespace pelkor::bsp_fixtures
