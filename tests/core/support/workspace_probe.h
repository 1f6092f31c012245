// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workspace/workspace.h"

namespace pelkor::testing {

// Tests build designs and put the view and the tools into states directly, where a user would
// take many events to get there; the program itself only reads these through the workspace.
class WorkspaceProbe {
 public:
  static ModuleLibrary& Library(Workspace& workspace) { return workspace.document_.library(); }
  static ViewState& View(Workspace& workspace) { return workspace.editor_.view_; }
  static InteractionState& Interaction(Workspace& workspace) {
    return workspace.editor_.interaction_;
  }
};

inline ModuleLibrary& LibraryOf(Workspace& workspace) {
  return WorkspaceProbe::Library(workspace);
}
inline ViewState& ViewOf(Workspace& workspace) {
  return WorkspaceProbe::View(workspace);
}
inline InteractionState& InteractionOf(Workspace& workspace) {
  return WorkspaceProbe::Interaction(workspace);
}

}  // namespace pelkor::testing
