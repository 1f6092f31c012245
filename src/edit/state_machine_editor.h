// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "edit/sketch.h"
#include "edit/state_dialog.h"
#include "model/primitives.h"
#include "view/hit_map.h"

namespace pelkor {

// The tools of the state machine editor, numbered as its commands choose them.
enum class MachineTool { kNone = 0, kArc = 1, kState = 2, kEraser = 3 };

// Where the editor dialog puts its drawing surface and its two buttons (top-left corners) in
// a client area of the given size.
struct StateMachineDialogLayout {
  Rect surface;
  Point ok;
  Point cancel;

  bool operator==(const StateMachineDialogLayout&) const = default;
};
StateMachineDialogLayout LayOutStateMachineDialog(int clientWidth, int clientHeight);

// The dialogs the editor opens.
class StateMachineEditorUi {
 public:
  virtual ~StateMachineEditorUi() = default;
  // The arc-name dialog listing a state's output names; its text when OK closes it, nullopt
  // for Cancel.
  virtual std::optional<std::string> ChooseArcName(const std::vector<std::string>& names,
                                                   const std::string& preset) = 0;
  // The state dialog; the values OK took, or `values` as they were after Cancel.
  virtual StateDialogValues EditState(const StateDialogValues& values) = 0;
  // A message box with the text.
  virtual void Warn(const std::string& /*text*/) {}
};

// Shown when no fresh state number is left for a state to be placed.
inline constexpr const char* kNoStateIdLeft = "状態番号が上限に達したため追加できません";

// The state machine editor without its window: states placed, joined and erased with the
// mouse on a surface whose pixels are the states' own coordinates. It edits a working copy of
// the machine and keeps the loaded one for Cancel; every change repaints the sketch and the
// hit map at once, so a press always sees what was last drawn.
class StateMachineEditor {
 public:
  static constexpr int kStateRadius = 25;
  static constexpr int kArcStopShort = 27;
  static constexpr int kArrowStroke = 5;
  static constexpr int kArcReach = 4;  // how near a press must come to an arc's line to pick it

  StateMachineEditor(const StateMachine& machine, StateMachineEditorUi& ui);

  // Writes the working copy back; the machine's own position and selection stay.
  void Store(StateMachine& machine) const;

  void ChooseTool(MachineTool tool);
  void ResizeSurface(int width, int height);
  // Mouse events in surface pixels. A press with the arc tool (or none) on an arc's line, off
  // any state and with no arc in progress, selects that arc; the eraser removes it.
  void Press(Point point);
  void Move(Point point);
  // Whether a press there would complete the arc in progress. The surface holds such a press
  // until no double-click can claim it, since a double-click never completes an arc.
  bool PressCompletesArc(Point point) const;
  // Opens the state dialog of the state there. The arc in progress goes back to what it was
  // before the double-click's first press, unless the surface held that press back.
  void DoubleClick(Point point, bool firstPressHeld = false);
  // Removes the selected state arc.
  void DeleteSelectedArc();
  // Takes back the last change of the machine; false when there is none.
  bool Undo();
  bool CanUndo() const { return !undo_.empty(); }
  // OK: the name sets, the main state of a one-state machine and the two-step flag.
  void Accept();
  // Cancel: back to the machine as loaded.
  void Cancel();

  MachineTool tool() const { return tool_; }
  bool arcInProgress() const { return arcInProgress_; }
  const std::vector<Point>& bends() const { return bends_; }
  int selectedArc() const { return selectedArc_; }
  const StateMachine& machine() const { return working_; }
  const HitMap& hitMap() const { return hitMap_; }
  const Sketch& sketch() const { return sketch_; }

 private:
  bool OnSurface(Point point) const;
  int StateAt(Point point) const;
  // The state arc whose drawn line passes near the point; 0 for none. Later arcs win.
  int ArcAt(Point point) const;
  // The points an arc is drawn through: its start's centre, its bends, and where it stops
  // short of its end.
  std::vector<Point> ArcLine(const StateArc& arc) const;
  // Keeps `before` for Undo when the machine changed since.
  void RecordEdit(const StateMachine& before);
  // `state` and `arc` are what lies under the point (an arc only off every state).
  void PressWithArcTool(Point point, int state, int arc);
  Point CentreOf(int stateId) const;
  void CompleteArc(int target);
  void AddState(Point position);
  void SetMainState(int stateId);
  std::vector<std::string> ArcNamesOf(int stateId) const;
  // Draws everything anew and rebuilds the hit map.
  void Repaint();
  void DrawArrow(Point from, Point to, bool selected = false);

  StateMachineEditorUi& ui_;
  StateMachine working_;
  StateMachine pristine_;
  MachineTool tool_ = MachineTool::kNone;
  bool arcInProgress_ = false;
  int arcSource_ = 0;
  std::vector<Point> bends_;
  Point rubberEnd_;
  // The arc as it was before the last press, for a double-click.
  bool arcBeforePress_ = false;
  int arcSourceBeforePress_ = 0;
  std::vector<Point> bendsBeforePress_;
  int selectedArc_ = 0;
  std::vector<StateMachine> undo_;  // the machine before each change, the latest last
  int width_ = 0;
  int height_ = 0;
  HitMap hitMap_;
  Sketch sketch_;
};

}  // namespace pelkor
