// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "model/module.h"
#include "sim/compile.h"
#include "sim/name_table.h"
#include "sim/net_runtime.h"
#include "sim/tabled_program.h"

namespace pelkor {

// No register, or no item.
inline constexpr std::uint32_t kNoIndex = 0xFFFFFFFFU;
// Items of each kind are numbered below this, so that a kind fits beside the number in 32 bits.
inline constexpr std::uint32_t kItemLimit = std::uint32_t{1} << 29;

// The kinds of items that look at registers, each visited by its phases. A change of a
// register's cells puts its watchers back on their kind's list of items to visit.
enum ItemKind : std::uint8_t {
  kSinkItems,
  kInstanceItems,
  kSourceItems,
  kMachineItems,
  kCounterItems,
  kItemKinds
};

// In one word, as a large module has tens of thousands.
struct Watcher {
  std::uint32_t item : 29;  // the module's sink, instance, source, machine or counter number
  std::uint32_t kind : 3;   // an ItemKind
};
static_assert(kItemLimit == std::uint32_t{1} << 29);

// In the programs below a register is the number of its shift register within the module, in
// ascending ID; kNoIndex where no register is bound.

struct StateProgram {
  int number = 0;
  TabledProgram output;                     // the first text
  std::vector<std::uint32_t> outputInputs;  // inputs 1..a
  std::vector<std::uint32_t> outputs;       // outputs 1..b; output 1 is always there
  TabledProgram selection;                  // the second text, whose results choose the arc
  std::vector<std::uint32_t> selectionInputs;
  std::vector<StateArcTarget> arcs;  // outgoing arc k at [k - 1]
  std::vector<std::uint32_t> consumeSet;
  // The enabling test: never passed by a state without registers or with an unbound input;
  // otherwise every register of `needTokens` has a token and every one of `needRoom` accepts.
  bool enableable = false;
  std::vector<std::uint32_t> needTokens;
  std::vector<std::uint32_t> needRoom;
};

struct MachineProgram {
  int id = 0;
  bool twoStepMode = false;
  std::uint32_t mainIndex = 0;
  int mainNumber = 0;
  std::vector<StateProgram> states;  // ascending state number
};

struct CounterProgram {
  int id = 0;
  TabledProgram count;
  std::vector<std::uint32_t> inputs;  // inputs 1..n
  std::uint32_t output = kNoIndex;    // output 1, the only one written
  bool hasRegisters = false;
  bool noInputMode = false;
  int reload = 0;
};

struct SourceProgram {
  int id = 0;
  std::uint32_t name = 0;  // as numbered by the engine's NameTable
  std::uint32_t output = kNoIndex;
  bool holdValue = false;
  std::uint32_t queueStart = 0;  // the values it emits: queueLength values of `queues` from here
  std::uint32_t queueLength = 0;
};

struct SinkProgram {
  int id = 0;
  std::uint32_t name = 0;
  std::uint32_t input = kNoIndex;
};

struct InstanceProgram {
  int id = 0;
  // The flags of the module's record, as every node of the module starts with them.
  bool hasNewArc = false;
  bool hasDeleteArc = false;
  bool absent = false;
  bool created = false;
  // Its arcs in `instanceArcs`: `inputArcs` into it from `arcs` on, then `outputArcs` out of it.
  std::uint32_t arcs = 0;
  std::uint32_t inputArcs = 0;
  std::uint32_t outputArcs = 0;
};

// An arc at a module instance: the register at its other end (kNoIndex when that end is not a
// register) and its name.
struct InstanceArc {
  std::uint32_t shiftRegister = kNoIndex;
  std::uint32_t name = 0;
};

// An instance that "new" tokens create: the registers of its arcs named "new" and "delete", and
// the name of the module it creates.
struct DynamicProgram {
  std::uint32_t instance = 0;  // its place in `instances`
  std::uint32_t newArc = kNoIndex;
  std::uint32_t deleteArc = kNoIndex;
  std::uint32_t moduleName = 0;
};

// One module compiled for the engine: what every node of the module shares. Everything the
// engine needs of the module is copied here while it compiles; nothing reads the module later.
class ModuleProgram {
 public:
  // What port planning needs, copied from the design as the engine first meets the module: the
  // registers, the instances with their arcs, the named ports. Names are numbered by `names`.
  ModuleProgram(const Module& design, NameTable& names);
  // The rest, from the records the check compiled from the design. `dynamicPlans` holds a plan
  // for each instance that "new" tokens create, by its place among the module's instances.
  void Complete(const Module& design, NetRuntime& compiled,
                const std::map<std::uint32_t, DynamicInputPlan>& dynamicPlans, NameTable& names);

  // The register with that ID, or kNoIndex.
  std::uint32_t RegisterIndex(int id) const;
  // The place of the record with that ID in one of the lists below, or kNoIndex.
  template <typename Program>
  static std::uint32_t IndexOf(const std::vector<Program>& programs, int id);
  // The arcs into (out of) the instance at place `i`, as its wiring reads them.
  std::vector<PortArc> PortArcsInto(std::size_t i, const NameTable& names) const;
  std::vector<PortArc> PortArcsOutOf(std::size_t i, const NameTable& names) const;
  // Whether instance `instanceId` has an arc named `name` into (or out of) it.
  bool HasArcNamed(int instanceId, std::uint32_t name, bool into) const;
  // The creation of the instance at place `i`, which "new" tokens create.
  const DynamicProgram& DynamicOf(std::size_t i) const;

  std::uint32_t number = 0;  // the engine's number for it, once it is complete
  std::vector<int> registerIds;
  std::vector<std::uint32_t> cellStarts;  // register r starts with initialCells [r], [r + 1])
  std::vector<std::uint8_t> initialCells;
  // Registers that a source or sink with a name reaches: an instance of the module may connect
  // them to its parent, whose instance then watches them too.
  std::vector<std::uint8_t> boundary;
  std::vector<std::uint32_t> watchStarts;  // register r is watched by [r], [r + 1]) of watchers
  std::vector<Watcher> watchers;
  // The watchers that are named sources and sinks: a node whose parent wires those ports to its
  // instance leaves them out, as such a port never acts.
  std::size_t portWatchers = 0;
  std::vector<std::uint8_t> queues;
  std::vector<SinkProgram> sinks;
  std::vector<SourceProgram> sources;
  std::vector<CounterProgram> counters;
  std::vector<MachineProgram> machines;
  std::vector<InstanceProgram> instances;
  std::vector<InstanceArc> instanceArcs;
  std::vector<DynamicProgram> dynamics;  // by instance place
  ChildPorts ports;                      // as an instance of the module is wired
  std::size_t resultRoom = 1;            // the most results any one evaluation gives
};

template <typename Program>
std::uint32_t ModuleProgram::IndexOf(const std::vector<Program>& programs, int id) {
  std::size_t low = 0;
  std::size_t high = programs.size();
  while (low < high) {
    const std::size_t middle = (low + high) / 2;
    if (programs[middle].id < id) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low < programs.size() && programs[low].id == id ? static_cast<std::uint32_t>(low)
                                                         : kNoIndex;
}

}  // namespace pelkor
