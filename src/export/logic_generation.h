// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "base/geometry.h"
#include "model/module.h"

namespace pelkor {

struct BspDocument;

// The .bsp format knows only places and transitions with function texts, so a counter and a
// state machine with two or more states are exported as generated modules of their own. These
// are plain modules built from registers, one-state machines, sources and sinks; creation
// order fixes their IDs, and every position and name ends up in the written file.

// The generated counter logic needs one input variable per bit, and the expression language
// has at most 99 inputs.
inline constexpr int kMaxCounterBits = 99;

// The number of bit registers: the square root of the count number, rounded up (1 -> 1,
// 4 -> 2, 10 -> 4, 100 -> 10). Kept within 1..kMaxCounterBits.
int CounterBitCount(int countNumber);

// True when the count number gives 1 to kMaxCounterBits bits, i.e. lies in 1..99*99.
bool CounterFitsLogic(const Counter& counter);

// The counter's function text over the bits ci1..ci<n> (read) and co1..co<n> (written back),
// with "start" set when every bit is 1; the empty text when the counter has its own count text.
std::string CounterLogic(const Counter& counter);

// A state machine with one state (ID 1, the main state) whose first text's source is `source`;
// the export writes it as one transition carrying that text.
StateMachine SingleStateMachine(Point position, const std::string& source);

Module BuildCounterModule(const Counter& counter);

// Sources and sinks stand for the machine's input and output names. An empty first text of the
// main state gives the guarded form (one machine per state arc out of the main state);
// otherwise the ring form (one machine per state, passing a token round a ring register).
Module BuildStateMachineModule(const StateMachine& machine);

// Write the generated module into `file` under `fileName` ("count%d.bsp" / "state%d.bsp").
void WriteCounterModule(BspDocument& file, const std::string& fileName, const Counter& counter);
void WriteStateMachineModule(BspDocument& file, const std::string& fileName,
                             const StateMachine& machine);

}  // namespace pelkor
