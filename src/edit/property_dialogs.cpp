// SPDX-License-Identifier: GPL-3.0-or-later
// Double-click and "編集": the property dialogs of the primitives, and the ways into a module
// instance.
#include <map>
#include <string>
#include <vector>

#include "base/errors.h"
#include "edit/interaction_controller.h"
#include "edit/simulation_locks.h"
#include "sim/node_run_state.h"

namespace pelkor {

namespace {

// Runs a dialog on a copy of a record of the module shown and stores the copy back, while
// simulating only with what the run can take. The record is looked up again afterwards: while a
// modal dialog is open, the animation timer may step the simulation, and a step may even move
// the view to another module.
template <typename Record, typename Dialog>
bool EditRecord(ModuleLibrary& library, std::map<int, Record> Module::*map, int id, bool simulating,
                Dialog dialog) {
  const Module* shown = &library.currentModule();
  const auto original = (shown->*map).find(id);
  if (original == (shown->*map).end())
    return false;
  const Record before = original->second;
  Record edited = before;
  dialog(edited);
  if (simulating)
    edited = TakenWhileSimulating(before, edited);
  if (&library.currentModule() != shown)
    return false;
  auto& records = library.currentModule().*map;
  const auto record = records.find(id);
  if (record == records.end())
    return false;
  record->second = std::move(edited);
  return true;
}

}  // namespace

void InteractionController::OpenDialogOf(int id) {
  Module& m = module();
  switch (m.KindOf(id)) {
    case kShiftRegisterKind:
      EditRecord(library_, &Module::shiftRegisters, id, simulating_,
                 [&](ShiftRegister& r) { ui_.EditShiftRegister(r, simulating_); });
      break;
    case kSourceKind: {
      if (!EditRecord(library_, &Module::sources, id, simulating_,
                      [&](SourceTransition& s) { ui_.EditSource(s, simulating_); }))
        break;
      // The module's instances everywhere show whether it can be created and deleted.
      const std::set<std::string> names = module().SourceNames();
      const std::string& moduleName = library_.currentInstance().name;
      if (names.contains("new"))
        library_.SetNewFlag(moduleName);
      else
        library_.ClearNewFlag(moduleName);
      if (names.contains("delete"))
        library_.SetDeleteFlag(moduleName);
      else
        library_.ClearDeleteFlag(moduleName);
      break;
    }
    case kCounterKind:
      if (!EditRecord(library_, &Module::counters, id, simulating_,
                      [&](Counter& c) { ui_.EditCounter(c, simulating_); }))
        break;
      try {
        module().counters.at(id).Regenerate();
      } catch (const MessageError& e) {
        library_.log().WriteText(e.what());
      }
      break;
    case kSinkKind: {
      // What the sink of the node shown took so far, as the dialog opens.
      const std::vector<int> received =
          simulating_
              ? NodeRunState(simulation_, library_.currentInstance()).Received(id).ToVector()
              : std::vector<int>();
      EditRecord(library_, &Module::sinks, id, simulating_,
                 [&](SinkTransition& s) { ui_.EditSink(s, simulating_, received); });
      break;
    }
    case kStateMachineKind:
      if (!simulating_) {
        EditRecord(library_, &Module::stateMachines, id, false,
                   [&](StateMachine& machine) { ui_.EditStateMachine(machine); });
      }
      break;
    default:
      break;
  }
}

void InteractionController::DoubleClickInstance(int id) {
  const std::string moduleName = module().instances.at(id).moduleName;
  if (simulating_) {
    try {
      library_.EnterInstance(id, moduleName, &simulation_);
      host_.SetDocumentTitle(library_.currentInstance().name);
      host_.CurrentNodeChanged();
    } catch (const MessageError& e) {
      library_.log().WriteText(e.what());
    }
    Repaint();
    return;
  }
  if (moduleName.empty()) {
    host_.NameInstance(id);
    return;
  }
  CancelArc();
  try {
    library_.EnterInstance(id, moduleName, nullptr);
    host_.SetDocumentTitle(moduleName);
    host_.CurrentNodeChanged();
    Repaint();
  } catch (const MessageError&) {
    // Outside a simulation an instance without a node is simply not entered.
  }
}

void InteractionController::DoubleClick(Point pixel, bool firstPressHeld) {
  if (state_.tool == Tool::kEraser)
    return;
  if (!firstPressHeld) {
    state_.arcSource = state_.arcBeforePress.source;
    state_.arcInProgress = state_.arcBeforePress.inProgress;
    state_.pendingBends = state_.arcBeforePress.bends;
    DropStaleArc();
  }
  if (const int id = ObjectAt(pixel)) {
    if (module().KindOf(id) == kInstanceKind)
      DoubleClickInstance(id);
    else
      OpenDialogOf(id);
  }
  // Whatever the dialog changed, by whichever button it was closed, is one edit.
  RecordEdit();
}

void InteractionController::EditPrimitive() {
  const int id = state_.contextObject;
  state_.contextObject = 0;
  if (id == 0 || module().PositionOf(id) == nullptr)
    return;
  // As a double-click does: a dialog, or for a module instance its naming or its inside.
  if (module().KindOf(id) == kInstanceKind)
    DoubleClickInstance(id);
  else
    OpenDialogOf(id);
  RecordEdit();
}

}  // namespace pelkor
