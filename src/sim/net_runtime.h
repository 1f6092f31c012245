// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "expr/expression_engine.h"
#include "model/module.h"
#include "model/runtime_instance.h"
#include "sim/shift_register_runtime.h"

namespace pelkor {

// The registers bound to the variables of one compiled text: inputs[k - 1] feeds input k and
// outputs[k - 1] takes output k; nullptr where no arc is bound. There is always a slot for
// output 1, as an unnamed arc binds it even in a text without outputs.
struct TextBinding {
  std::vector<ShiftRegisterRuntime*> inputs;
  std::vector<ShiftRegisterRuntime*> outputs;

  // Every input variable has a token waiting; an unbound one never gets one.
  bool InputsHaveTokens() const {
    for (const ShiftRegisterRuntime* input : inputs) {
      if (input == nullptr || !input->HasToken())
        return false;
    }
    return true;
  }
  bool OutputsCanAccept() const {
    for (const ShiftRegisterRuntime* output : outputs) {
      if (output != nullptr && !output->CanAccept())
        return false;
    }
    return true;
  }
};

struct SourceRuntime {
  int id = 0;
  bool isPort = false;  // a boundary input: its module instance moves the tokens in
  bool holdValue = false;
  std::vector<std::uint8_t> dataQueue;  // token values in emission order...
  std::size_t emitted = 0;              // ...of which this many have left
  ShiftRegisterRuntime* output = nullptr;

  std::span<const std::uint8_t> RemainingQueue() const {
    return std::span(dataQueue).subspan(emitted);
  }
};

struct SinkRuntime {
  int id = 0;
  bool isPort = false;  // a boundary output: its module instance moves the tokens out
  ShiftRegisterRuntime* input = nullptr;
  std::vector<int> received;  // the values it took, in arrival order
};

struct CounterRuntime {
  int id = 0;
  CompiledProgram countProgram;
  int inputCount = 0;
  int outputCount = 0;
  TextBinding registers;
  bool hasRegisters = false;
  bool noInputMode = false;
  int reload = 0;
  int remaining = 0;
  bool ready = false;
};

// An outgoing arc of a state: the number of the state it leads to (0 where the state has no
// arc of that number) and that state's place in the machine's state table.
struct StateArcTarget {
  int number = 0;
  std::size_t index = 0;
};

struct StateRuntime {
  int number = 0;
  CompiledProgram outputProgram;  // from the first text
  int outputInputCount = 0;
  int outputCount = 0;
  TextBinding outputRegisters;
  CompiledProgram selectionProgram;  // from the second text, whose outputs select the arcs
  int selectionInputCount = 0;
  int selectionCount = 0;
  TextBinding selectionRegisters;
  std::vector<StateArcTarget> arcs;  // outgoing arc k at [k - 1]
  std::vector<ShiftRegisterRuntime*> consumeSet;
  bool hasRegisters = false;  // any register bound to either text
  std::vector<int>
      results;  // evaluation scratch, sized by the check so that firing allocates nothing
};

struct StateMachineRuntime {
  int id = 0;
  bool ready = false;
  bool twoStepMode = false;
  int currentNumber = 0;    // 0 after a firing that chose no arc
  std::size_t current = 0;  // the state that is tested and fired, as an index into `states`
  std::vector<StateRuntime> states;  // ascending state number

  StateRuntime& Current() { return states[current]; }
  const StateRuntime& Current() const { return states[current]; }
};

// A boundary connection of a module instance: a register of the parent's working copy and
// one inside the instance. `inner` is nullptr while the instance has no live contents.
struct PortConnection {
  ShiftRegisterRuntime* outer = nullptr;
  ShiftRegisterRuntime* inner = nullptr;
};

struct ModuleInstanceRuntime {
  int id = 0;
  const ModuleInstance* record = nullptr;  // the instance in the working copy
  // Its run-time flags, which start as the record's.
  bool absent = false;
  bool created = false;
  ShiftRegisterRuntime* newArcRegister = nullptr;
  ShiftRegisterRuntime* deleteArcRegister = nullptr;
  std::vector<PortConnection> inputs;   // outer -> inner, one per named arc into the instance
  std::vector<PortConnection> outputs;  // inner -> outer, one per named arc out of it
};

// The run-time state of one node's working copy: what the reference check fills, the step
// changes and the view shows. Every list runs in ascending primitive ID. The records point at
// each other and at registers of neighbouring nodes, so a NetRuntime never moves: it lives and
// dies with its node's working copy.
class NetRuntime {
 public:
  // One register record (still without cells) per shift register of the net.
  explicit NetRuntime(const Module& net);
  NetRuntime(const NetRuntime&) = delete;
  NetRuntime& operator=(const NetRuntime&) = delete;

  std::span<ShiftRegisterRuntime> registers() { return registers_; }
  std::span<const ShiftRegisterRuntime> registers() const { return registers_; }

  // Lookups by primitive ID, for the check and the view; nullptr when there is no such record.
  ShiftRegisterRuntime* FindRegister(int id);
  const ShiftRegisterRuntime* FindRegister(int id) const;
  const SourceRuntime* FindSource(int id) const;
  SinkRuntime* FindSink(int id);
  const SinkRuntime* FindSink(int id) const;
  const CounterRuntime* FindCounter(int id) const;
  const StateMachineRuntime* FindMachine(int id) const;
  ModuleInstanceRuntime* FindInstance(int id);
  const ModuleInstanceRuntime* FindInstance(int id) const;

  std::vector<SourceRuntime> sources;
  std::vector<SinkRuntime> sinks;
  std::vector<CounterRuntime> counters;
  std::vector<StateMachineRuntime> machines;
  std::vector<ModuleInstanceRuntime> instances;

 private:
  std::vector<ShiftRegisterRuntime> registers_;  // sized once: records are referenced
};

}  // namespace pelkor
