#include "workspace/workspace.h"

#include "base/errors.h"

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
    library_.EnterInstance(instanceId, it->second.moduleName, IsSimulating());
  } catch (const MessageError& e) {
    log_.WriteText(e.what());
  }
  ShowCurrentNode();
}

// Names an unnamed instance after asking the user, creating the module when it is new.
void Workspace::NameInstance(int instanceId) {
  const std::optional<std::string> answer = ui_.AskModuleName();
  if (!answer || answer->empty())
    return;
  ModuleInstance& instance = library_.currentModule().instances.at(instanceId);
  instance.moduleName = *answer;
  library_.CreateModule(*answer);
  library_.AddInstanceEverywhere(*answer, instanceId);
  if (library_.currentInstance().RepeatsName(*answer)) {
    instance.absent = true;
    instance.hasNewArc = true;
  }
  ui_.ModuleTreeChanged();
}

void Workspace::GoUp() {
  library_.GoUp(IsSimulating());
  ShowCurrentNode();
}

void Workspace::GoToTreeItem(TreeItem item) {
  library_.GoToTreeItem(item, IsSimulating());
  ShowCurrentNode();
}

}  // namespace pelkor
