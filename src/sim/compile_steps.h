// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The parts of the check, one per primitive kind; each returns false when its primitive fails
// and writes its own messages.

#include <cstdint>
#include <string>
#include <vector>

#include "model/module.h"
#include "model/output_log.h"
#include "model/runtime_instance.h"
#include "sim/net_runtime.h"

namespace pelkor {

// The arcs into or out of an object, in index order; index entries without an arc are passed.
std::vector<const Arc*> ArcsInto(const Module& module, int id);
std::vector<const Arc*> ArcsOutOf(const Module& module, int id);

// Cells from the contents: the digits in text order ending at the exit, EMPTY cells before
// them. Fails when a fixed size leaves no empty cell, or asks for more cells than memory holds.
bool PrepareRegister(const ShiftRegister& design, ShiftRegisterRuntime& shiftRegister);
// The token values a source emits, first one first.
std::vector<std::uint8_t> BuildSourceQueue(const SourceTransition& source);
// Fills `runtime.sources` and `runtime.sinks`: queues, the registers they use, and whether
// each is a named port of the node's instance `instanceNumber` in the working copy `parentNet`
// of its parent (never without a parent's copy).
void PrepareSourcesAndSinks(const Module& net, const Module* parentNet, int instanceNumber,
                            NetRuntime& runtime);
// Whether `parentNet` has an arc of that name into (or out of) its instance `instanceNumber`;
// never for an empty name or without a parent's copy.
bool ParentHasPortArc(const Module* parentNet, int instanceNumber, const std::string& name,
                      bool intoInstance);

// The stages of the compile that depend on the module alone; `moduleName` names it in the
// messages.
bool PrepareRegisters(OutputLog& log, const std::string& moduleName, const Module& net,
                      NetRuntime& runtime);
bool CompileMachines(OutputLog& log, const std::string& moduleName, const Module& net,
                     NetRuntime& runtime);
bool CompileCounters(OutputLog& log, const Module& net, NetRuntime& runtime);

bool CompileStateMachine(OutputLog& log, const Module& net, NetRuntime& runtime, int id,
                         const StateMachine& machine, StateMachineRuntime& compiled);
bool CompileCounter(OutputLog& log, const Module& net, NetRuntime& runtime, int id,
                    const Counter& counter, CounterRuntime& compiled);

}  // namespace pelkor
