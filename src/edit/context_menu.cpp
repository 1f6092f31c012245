// SPDX-License-Identifier: GPL-3.0-or-later
// The right button: the context menus of empty space, of a selection and of one object, and
// the removal of an arc while the arc tool draws one.
#include <algorithm>

#include "edit/arc_rules.h"
#include "edit/interaction_controller.h"
#include "sim/breakpoint.h"

namespace pelkor {

namespace {

std::vector<ContextMenuItem> SelectionMenu() {
  return {{CommandId::kCopy, "コピー"}, {CommandId::kDelete, "削除"}, {CommandId::kAlign, "整列"}};
}

// The first arc into `to` out of `from`; 0 when there is none.
int ArcInto(const Module& module, int to, int from) {
  auto [begin, end] = module.arcsInto.equal_range(to);
  for (auto it = begin; it != end; ++it) {
    auto arc = module.arcs.find(it->second);
    if (arc != module.arcs.end() && arc->second.from == from)
      return arc->first;
  }
  return 0;
}

}  // namespace

void InteractionController::ShowContextMenu(Point pixel,
                                            const std::vector<ContextMenuItem>& items) {
  const std::optional<CommandId> chosen = ui_.ShowContextMenu(pixel, items);
  // Only what the menu offered, and did not grey, is run.
  const bool offered = chosen && std::any_of(items.begin(), items.end(), [&](const auto& item) {
                         return item.command == chosen && item.enabled;
                       });
  if (!offered)
    return;
  if (*chosen == CommandId::kEditPrimitive)
    EditPrimitive();
  else
    host_.RunCommand(*chosen);
}

void InteractionController::RightRelease(Point pixel) {
  DropStaleArc();
  Module& m = module();
  const int id = ObjectAt(pixel);
  if (id == 0 && m.selection.selectedIds.empty()) {
    ShowContextMenu(pixel, {{CommandId::kPaste, "貼り付け", CanPaste() && !simulating_}});
    return;
  }
  if (state_.arcInProgress) {
    // With the arc tool an arc is removed by starting at its end and right-clicking its start.
    if (const int arcId = ArcInto(m, state_.arcSource, id)) {
      RemoveArc(m, arcId);
      RecordEdit();
      CancelArc();
      Repaint(Change::kContent);
    }
    return;
  }
  if (m.selection.selectedIds.size() > 1) {
    if (InSelectionTracker(pixel))
      ShowContextMenu(pixel, SelectionMenu());
    return;
  }
  if (id == 0)
    return;
  // The object alone becomes the selection, anchored where it was clicked, so that a copy of it
  // pastes relative to that point.
  SelectAlone(id, pixel);
  Repaint();
  state_.contextObject = id;
  std::vector<ContextMenuItem> items = SelectionMenu();
  items.push_back({std::nullopt, ""});
  items.push_back({CommandId::kEditPrimitive, "編集"});
  if (m.KindOf(id) == kInstanceKind && m.instances.at(id).moduleName.empty())
    items.push_back({CommandId::kLoadModule, "モジュール読み込み"});
  if (NaturalEvent(m.KindOf(id)))
    items.push_back({CommandId::kToggleBreakpoint, "ブレークポイント"});
  ShowContextMenu(pixel, items);
}

}  // namespace pelkor
