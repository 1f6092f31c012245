// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/workspace.h"

#include "base/errors.h"
#include "edit/instance_naming.h"

namespace pelkor {

Workspace::Workspace(WorkspaceUi& ui) : ui_(ui), designFolder_(std::filesystem::current_path()) {}

void Workspace::SetTitle(const std::string& title) {
  documentTitle_ = title;
  Changed(Change::kFiles);
}

void Workspace::ShowCurrentNode() {
  Changed(Change::kView);
}

void Workspace::EnterInstance(int instanceId) {
  const CommandScope scope(*this);
  auto it = library_.currentModule().instances.find(instanceId);
  if (it == library_.currentModule().instances.end())
    return;
  if (it->second.moduleName.empty()) {
    if (!IsSimulating())
      NameInstance(instanceId);
    return;
  }
  try {
    library_.EnterInstance(instanceId, it->second.moduleName,
                           IsSimulating() ? &simulation_ : nullptr);
  } catch (const MessageError& e) {
    log_.WriteText(e.what());
  }
  ShowCurrentNode();
}

// Names an unnamed instance after asking the user, creating the module when it is new.
void Workspace::NameInstance(int instanceId) {
  if (!AskAndNameInstance(library_, ui_, instanceId))
    return;
  library_.currentModule().RecordEdit();
  Changed(Change::kTree | Change::kContent);
}

void Workspace::GoUp() {
  const CommandScope scope(*this);
  if (library_.currentInstance().parent == nullptr)
    return;
  controller_.DropToolState();
  library_.GoUp();
  SetTitle(library_.currentInstance().name);
  ShowCurrentNode();
}

void Workspace::GoToTreeItem(TreeItem item) {
  const CommandScope scope(*this);
  // An arc begun in one module cannot end in another.
  controller_.DropToolState();
  library_.GoToTreeItem(item);
  ShowCurrentNode();
}

}  // namespace pelkor
