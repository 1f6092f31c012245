// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "model/module_library.h"

namespace pelkor {

// One node of the module tree window: its item key, the item of its parent (0 at the top
// level), its module name, and the text it shows: the module name, after the instance's ID
// below the top ("5:half"), so that two instances of one module can be told apart.
struct ModuleTreeRow {
  TreeItem item = 0;
  TreeItem parent = 0;
  std::string name;
  std::string label;

  bool operator==(const ModuleTreeRow&) const = default;
};

// What the module tree window shows: the rows depth first from the root, children in
// ascending instance number, and the item of the instance the view shows (0 when it has no
// row).
struct ModuleTree {
  std::vector<ModuleTreeRow> rows;
  TreeItem current = 0;
};

// While a simulation runs (`running` is not nullptr), a node below the root that it has not
// prepared (not created yet, or deleted) is left out with its whole subtree: it cannot be shown.
ModuleTree BuildModuleTree(const ModuleLibrary& library, const PreparedNodes* running);

// Where a node lies from the root, each instance as its row shows it: "top / 5:half".
std::string InstancePath(const RuntimeInstance& node);

// The row that shows the module named `moduleName`: the current one when it does, else the
// first such row from the top; 0 when no row shows that module.
TreeItem FindModuleRow(const ModuleTree& tree, const std::string& moduleName);

}  // namespace pelkor
