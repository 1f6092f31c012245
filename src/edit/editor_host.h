// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "edit/change.h"
#include "edit/command.h"

namespace pelkor {

// What the editing tools leave to the object that owns the view: the commands on the selection
// and the clipboard, and the windows and title that follow the module shown.
class EditorHost {
 public:
  virtual ~EditorHost() = default;

  // Runs a command chosen in a context menu or by a key: copy, paste, delete, align, or
  // "モジュール読み込み" for the context object.
  virtual void RunCommand(CommandId command) = 0;
  // What the tools changed; the windows hear of it when the event ends.
  virtual void Changed(ChangeSet changes) = 0;
  // The view moved to another node of the instance tree.
  virtual void CurrentNodeChanged() = 0;
  virtual void SetDocumentTitle(const std::string& title) = 0;
  // Asks for the module of an unnamed module instance and names it.
  virtual void NameInstance(int instanceId) = 0;
};

}  // namespace pelkor
