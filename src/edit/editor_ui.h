// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "edit/command.h"
#include "model/primitives.h"

namespace pelkor {

// One entry of a context menu.
struct ContextMenuItem {
  std::optional<CommandId> command;  // nullopt for a separator
  std::string text;
  bool enabled = true;
};

// How the editing tools reach the user: the property dialogs, the context menus, the tooltip
// and the status bar. What the tools change reaches the windows through their host. The desktop
// answers with real widgets; tests and the command-line tool with scripted answers. Every dialog
// edits the record it is given the way its buttons say (OK takes the controls; Cancel keeps the
// record, but for what a dialog changes at once), and the caller stores the record back whichever
// button closed it. The defaults answer as a user who cancels every dialog and picks nothing.
class EditorUi {
 public:
  virtual ~EditorUi() = default;

  virtual void EditShiftRegister(ShiftRegister& /*record*/, bool /*simulating*/) {}
  virtual void EditSource(SourceTransition& /*record*/, bool /*simulating*/) {}
  virtual void EditCounter(Counter& /*record*/, bool /*simulating*/) {}
  // `received`: the values the sink of the node shown took so far; empty outside a simulation.
  virtual void EditSink(SinkTransition& /*record*/, bool /*simulating*/,
                        const std::vector<int>& /*received*/) {}
  // The state machine editor; Cancel leaves the machine exactly as it was.
  virtual void EditStateMachine(StateMachine& /*machine*/) {}
  // The port-name dialog: `names` in the order they are held, the text preset. Returns the
  // text as typed when OK closes it, nullopt for Cancel.
  virtual std::optional<std::string> ChooseArcPort(const std::vector<std::string>& /*names*/,
                                                   const std::string& /*preset*/) {
    return std::nullopt;
  }
  // A module name for an unnamed module instance; nullopt or empty when the user declines.
  virtual std::optional<std::string> AskModuleName() { return std::nullopt; }
  // Shows a context menu at a client point; the command chosen, or nullopt.
  virtual std::optional<CommandId> ShowContextMenu(Point /*client*/,
                                                   const std::vector<ContextMenuItem>& /*items*/) {
    return std::nullopt;
  }

  // The tooltip's text; empty hides it.
  virtual void TooltipChanged(const std::string& /*text*/) {}
  // The logical coordinates under the pointer, for the status bar.
  virtual void PointerMoved(Point /*logical*/) {}
};

}  // namespace pelkor
