#include "workspace/workspace.h"

#include "base/errors.h"
#include "edit/instance_naming.h"

namespace pelkor {

Workspace::Workspace(WorkspaceUi& ui) : ui_(ui), designFolder_(std::filesystem::current_path()) {}

void Workspace::SetTitle(const std::string& title) {
  documentTitle_ = title;
  ui_.TitleChanged(title);
}

void Workspace::ShowCurrentNode() {
  ui_.CurrentNodeChanged(library_.currentInstance().treeItem);
  ui_.Redraw();
}

void Workspace::EnterInstance(int instanceId) {
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
  if (AskAndNameInstance(library_, ui_, instanceId))
    ui_.ModuleTreeChanged();
}

void Workspace::GoUp() {
  if (library_.currentInstance().parent == nullptr)
    return;
  controller_.DropToolState();
  library_.GoUp();
  SetTitle(library_.currentInstance().name);
  ShowCurrentNode();
}

void Workspace::GoToTreeItem(TreeItem item) {
  // An arc begun in one module cannot end in another.
  controller_.DropToolState();
  library_.GoToTreeItem(item);
  ShowCurrentNode();
}

}  // namespace pelkor
