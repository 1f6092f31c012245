// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "expr/function_text.h"
#include "model/arc_index.h"
#include "model/point_list.h"

namespace pelkor {

// A place of the net: its cells hold the bit tokens.
struct ShiftRegister {
  std::string contents;  // initial tokens as typed: "0"/"1", line breaks as CR LF
  bool sizeFixed = false;
  int size = 1;
  int direction = 1;  // 0 left, 2 right; a new register starts with 1, which shifts like left
  Point position;

  // The contents in shift order: as typed for direction 2, reversed character by character
  // otherwise (a CR LF then reads LF CR).
  std::string ShiftOrder() const;
  std::string ShiftOrderPrefix(std::size_t n) const;
  void SetContents(const std::string& text) { contents = text; }

  bool operator==(const ShiftRegister&) const = default;
};

// "uhzi": emits a bit sequence into the register its one outgoing arc reaches.
struct SourceTransition {
  std::string name;  // the input name; "new" and "delete" make the module dynamic
  bool hexDisplay = false;
  std::string data;
  bool holdValue = false;
  bool fromEnd = false;
  Point position;

  const std::string& Name() const { return name; }
  void SetName(const std::string& text) { name = text; }

  bool operator==(const SourceTransition&) const = default;
};

// "kemmakix": collects the tokens of the register its one incoming arc comes from.
struct SinkTransition {
  std::string name;  // the output name
  bool hexDisplay = false;
  std::string expected;
  int outputMode = 0;  // 0 Big, 1 Little, 2 discard, 3 do not consume
  Point position;

  const std::string& Name() const { return name; }
  void SetName(const std::string& text) { name = text; }

  bool operator==(const SinkTransition&) const = default;
};

struct Counter {
  Point position;
  FunctionText countText;  // only its source is stored; the rest is derived
  int countNumber = 1;

  // Rebuilds the derived logic from countText.source; throws MessageError on a text error.
  void Regenerate();

  bool operator==(const Counter&) const = default;
};

// An arc of a module, or (as StateArc) an arc between two states of one machine.
struct Arc {
  int from = 0;
  int to = 0;
  PointList bends;  // corners of the drawn line from `from` to `to`
  std::string name;

  bool operator==(const Arc&) const = default;
};

using StateArc = Arc;

// Removes every arc into or out of the object `id` from an arc map, with its entries in both
// indexes (object ID -> arc ID).
void RemoveArcsOf(std::map<int, Arc>& arcs, ArcIndex& arcsInto, ArcIndex& arcsOutOf, int id);
// Removes one arc from an arc map, with its entries in both indexes.
void RemoveArc(std::map<int, Arc>& arcs, ArcIndex& arcsInto, ArcIndex& arcsOutOf, int arcId);
// Removes the index entries of one arc, looking under `key` (the arc's other end) first; an
// index that does not file the arc there is searched whole, so no stale entry survives.
void EraseIndexEntry(ArcIndex& index, int key, int arcId);

struct MachineState {
  Point position;           // in the state machine editor's own plane
  FunctionText firstText;   // output program; may begin with a guard
  FunctionText secondText;  // arc-selection program: its outputs name the outgoing state arcs
  bool isMain = false;

  // Derived by Regenerate.
  bool hasGuard = false;
  std::set<std::string> inputNames;     // input names of both texts
  std::map<int, std::string> arcNames;  // output number -> output name of secondText

  // Rebuilds the derived forms of both texts; throws MessageError on a text error.
  void Regenerate();

  bool operator==(const MachineState&) const = default;
};

struct StateMachine {
  int mainState = 0;
  std::map<int, MachineState> states;
  std::map<int, StateArc> stateArcs;
  ArcIndex stateArcsInto;   // state ID -> state-arc ID
  ArcIndex stateArcsOutOf;  // state ID -> state-arc ID
  int nextStateId = 1;
  int nextStateArcId = 1;
  Point position;

  // Derived: the union of the states' input names, and of the output names of every first
  // text; `twoStepMode` is decided from the machine's shape when it is read from a file.
  std::set<std::string> inputNames;
  std::set<std::string> outputNames;
  bool twoStepMode = false;

  // Removes the state with every state arc into or out of it; `mainState` is left as it is.
  void RemoveState(int id);
  // Continues numbering after the states and state arcs it holds.
  void ResetNextIds();
  // Regenerates every state, then rebuilds the machine's name sets.
  void Regenerate();
  // The machine's name sets from the states' derived names, as they stand.
  void RebuildNameSets();

  bool operator==(const StateMachine&) const = default;
};

// A placed use of another module, which it names.
struct ModuleInstance {
  std::string moduleName;
  bool absent = false;
  bool created = false;
  bool hasNewArc = false;
  bool hasDeleteArc = false;
  Point position;

  bool operator==(const ModuleInstance&) const = default;
};

}  // namespace pelkor
