// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "model/object_kind.h"
#include "model/primitives.h"
#include "model/selection.h"
#include "model/sorted_id_map.h"

namespace pelkor {

// Written when no fresh object ID is left for a primitive to be placed or pasted.
inline constexpr const char* kNoObjectIdLeft = "オブジェクト番号が上限に達したため追加できません";

// One design sheet: the primitives of a bit-serial Petri net and the arcs between them.
// Its name is kept by the module library. Every traversal runs in ascending ID order.
class Module {
 public:
  Module() = default;
  // Copies carry the design, the counters and the revision, but neither the edit history nor
  // the selection: a copy starts with empty ones, an assignment keeps the target's own.
  Module(const Module& other);
  Module& operator=(const Module& other);
  Module(Module&&) noexcept = default;
  Module& operator=(Module&&) noexcept = default;
  ~Module() = default;

  int AddShiftRegister(const ShiftRegister& r, Point offset = {});
  int AddStateMachine(const StateMachine& m, Point offset = {});
  int AddCounter(const Counter& c, Point offset = {});
  int AddSource(const SourceTransition& s, Point offset = {});
  int AddSink(const SinkTransition& s, Point offset = {});
  int AddInstance(const ModuleInstance& i, Point offset = {});

  // Stores the arc under nextArcId and indexes it; returns the counter's new value. The
  // caller is responsible for the direction rule (one end a register, the other not).
  int AddArc(int from, int to, const std::vector<Point>& bends, const std::string& name);
  // Removes every arc into or out of the object, with its index entries.
  void RemoveArcsOf(int id);

  std::size_t PrimitiveCount() const;
  // Whether `count` more primitives can get fresh IDs. The counter stops at the largest int,
  // which a hand-edited file may already use.
  bool HasRoomFor(std::size_t count) const;
  bool HasNewSource() const;
  std::set<std::string> SourceNames() const;
  void SetNextObjectId(int n) { nextObjectId = n; }
  // Gives back the spare room the array tables took while growing, once a module is read.
  void ShrinkTables();

  // The kind of a primitive, kNoKind when the ID has no entry.
  ObjectKind KindOf(int id) const;
  // The position of a primitive of any kind, or nullptr when the ID names none.
  Point* PositionOf(int id);
  const Point* PositionOf(int id) const;

  // True when the ten design maps and pasteOrigin are equal (what a recorded state keeps).
  bool SameContent(const Module& other) const;
  // Assigns the ten design maps from another module; counters and pasteOrigin stay.
  void AssignMapsFrom(const Module& other);

  // The edit history. Every edit of the design ends with RecordEdit, which keeps the design as
  // the newest state undo returns to. The revision names the design's state: every recorded edit
  // gives a fresh one, and undo and redo bring back the revision of the state they restore, so
  // comparing revisions tells whether a design is what was last loaded or saved.

  // Forgets undo and redo: the present design becomes the oldest state, with a fresh revision.
  void ResetHistory();
  // A design only read and run, as the command-line tool uses it, keeps no states to undo to,
  // which spares a copy of every module: each recorded edit then only gives a fresh revision.
  void KeepHistory(bool keep);
  // Records the present design as the newest state and forgets what undo left; false, and
  // nothing recorded, when it equals the newest state (a dialog closed by Cancel).
  bool RecordEdit();
  // Goes back to the previous recorded state; false when there is none. The ID counters never
  // go back, so IDs stay unique.
  bool Undo();
  // Returns to the state the last undo left, as long as nothing was recorded since.
  bool Redo();
  bool CanUndo() const;
  bool CanRedo() const { return !redoHistory_.empty(); }
  // How many recorded states undo can still go back.
  std::size_t UndoDepth() const;
  std::uint64_t revision() const { return revision_; }

  int nextObjectId = 1;
  int nextArcId = 1;
  std::map<int, ShiftRegister> shiftRegisters;
  std::map<int, StateMachine> stateMachines;
  std::map<int, Counter> counters;
  std::map<int, ModuleInstance> instances;
  std::map<int, Arc> arcs;
  ArcIndex arcsInto;   // object ID -> arc ID, for each arc whose `to` it is
  ArcIndex arcsOutOf;  // object ID -> arc ID, for each arc whose `from` it is
  std::map<int, SourceTransition> sources;
  std::map<int, SinkTransition> sinks;
  SortedIdMap<ObjectKind> kinds;
  Selection selection;
  Point pasteOrigin;

 private:
  // The recorded states, oldest at the front; the back is the state of the last record, undo or
  // redo. A snapshot is never changed while the history refers to it; RecordEdit reuses the
  // oldest one's storage once nothing else does. An empty history stands for one empty design,
  // the state of a module that was just made.
  std::deque<std::shared_ptr<Module>> undoHistory_;
  // The states undo left, the latest at the back.
  std::vector<std::shared_ptr<Module>> redoHistory_;
  std::uint64_t revision_ = 0;  // 0: the empty design a module starts as
  bool keepsHistory_ = true;

  template <typename Record>
  int AddPrimitive(std::map<int, Record>& map, ObjectKind kind, const Record& record, Point offset);
};

}  // namespace pelkor
