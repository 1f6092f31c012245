// SPDX-License-Identifier: GPL-3.0-or-later
// The workspace's breakpoints: set from the view, edited from their list, kept per design file.
#include "view/breakpoint_marks.h"
#include "workspace/waveform/live_nodes.h"
#include "workspace/workspace.h"

namespace pelkor {

namespace {

// The first node of the tree, depth first in ascending instance number, that runs `module`.
const RuntimeInstance* FirstNodeOf(const RuntimeInstance& node, const std::string& module) {
  if (node.name == module)
    return &node;
  for (const auto& [number, child] : node.children) {
    if (const RuntimeInstance* found = FirstNodeOf(*child, module))
      return found;
  }
  return nullptr;
}

}  // namespace

void Workspace::PaintView(Frame& frame) {
  editor_.Paint(frame);
  const RuntimeInstance& node = library().currentInstance();
  std::vector<BreakpointMark> marks;
  std::string path;
  for (const Breakpoint& breakpoint : breakpoints().items()) {
    if (breakpoint.module != node.name)
      continue;
    if (breakpoint.path && path.empty())
      path = NodePath(node);
    if (!breakpoint.path || *breakpoint.path == path)
      marks.push_back({breakpoint.objectId, breakpoint.enabled});
  }
  DrawBreakpointMarks(library().currentModule(), marks, view(), frame.overlay);
}

void Workspace::EnableBreakpointStore(const std::filesystem::path& folder) {
  const CommandScope scope(*this);
  breakpointStore_.emplace(folder);
  LoadBreakpoints();
}

void Workspace::LoadBreakpoints() {
  const std::optional<std::filesystem::path> design =
      document_.FileOf(library().rootInstance().name);
  session_.SetBreakpoints(breakpointStore_ && design ? breakpointStore_->Load(*design)
                                                     : BreakpointList());
  Changed(Change::kView);
}

void Workspace::BreakpointsChanged(BreakpointList breakpoints) {
  session_.SetBreakpoints(std::move(breakpoints));
  Changed(Change::kView);
  const std::optional<std::filesystem::path> design =
      document_.FileOf(library().rootInstance().name);
  if (breakpointStore_ && design && !breakpointStore_->Save(*design, session_.breakpoints()))
    log_.Write("%sに書き込めませんでした", breakpointStore_->FileOf(*design).string());
}

bool Workspace::ToggleBreakpoint() {
  const CommandScope scope(*this);
  const Module& module = library().currentModule();
  const std::set<int>& selected = module.selection.selectedIds;
  const int id = selected.size() == 1 ? *selected.begin() : editor_.interaction().hoverObject;
  const std::optional<BreakEvent> event = NaturalEvent(module.KindOf(id));
  if (id == 0 || !event)
    return false;
  const RuntimeInstance& node = library().currentInstance();
  Breakpoint breakpoint;
  breakpoint.module = node.name;
  breakpoint.objectId = id;
  breakpoint.event = *event;
  if (node.parent != nullptr)
    breakpoint.path = NodePath(node);
  BreakpointList list = breakpoints();
  list.Toggle(breakpoint);
  BreakpointsChanged(std::move(list));
  return true;
}

void Workspace::SetBreakpoints(BreakpointList breakpoints) {
  const CommandScope scope(*this);
  BreakpointsChanged(std::move(breakpoints));
}

bool Workspace::RemoveBreakpoint(std::size_t index) {
  const CommandScope scope(*this);
  BreakpointList list = breakpoints();
  if (!list.Remove(index))
    return false;
  BreakpointsChanged(std::move(list));
  return true;
}

bool Workspace::SetBreakpointEnabled(std::size_t index, bool enabled) {
  const CommandScope scope(*this);
  BreakpointList list = breakpoints();
  if (!list.SetEnabled(index, enabled))
    return false;
  BreakpointsChanged(std::move(list));
  return true;
}

bool Workspace::SetBreakpointEvent(std::size_t index, ParsedEvent event) {
  const CommandScope scope(*this);
  BreakpointList list = breakpoints();
  if (index >= list.items().size())
    return false;
  const Breakpoint& breakpoint = list.items()[index];
  const ObjectKind kind =
      library().Exists(breakpoint.module)
          ? library().ModuleByName(breakpoint.module).KindOf(breakpoint.objectId)
          : kNoKind;
  if (!list.SetEvent(index, event, kind))
    return false;
  BreakpointsChanged(std::move(list));
  return true;
}

bool Workspace::GoToBreakpoint(std::size_t index) {
  const CommandScope scope(*this);
  if (index >= breakpoints().items().size())
    return false;
  const Breakpoint& breakpoint = breakpoints().items()[index];
  const RuntimeInstance& root = library().rootInstance();
  const RuntimeInstance* node =
      breakpoint.path ? FindNode(root, *breakpoint.path) : FirstNodeOf(root, breakpoint.module);
  if (node == nullptr || node->name != breakpoint.module)
    return false;
  GoToTreeItem(node->treeItem);
  Module& module = document_.library().currentModule();
  if (module.PositionOf(breakpoint.objectId) != nullptr) {
    editor_.tools().DropToolState();
    module.selection.Clear(module);
    module.selection.Add(module, breakpoint.objectId);
    Changed(Change::kSelection);
  }
  return true;
}

}  // namespace pelkor
