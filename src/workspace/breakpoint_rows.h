// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "model/module_library.h"
#include "workspace/breakpoint_list.h"

namespace pelkor {

// A breakpoint as its list shows it: where it is, whether it is on, and the events its object
// can meet (as EventText writes them) with the one it waits for.
struct BreakpointRow {
  std::string place;  // "top/5/2 シフトレジスタ3", or "adder（すべて） シフトレジスタ3"
  bool enabled = true;
  std::vector<std::string> events;
  std::size_t event = 0;

  bool operator==(const BreakpointRow&) const = default;
};

// One row for each breakpoint, in the list's order. An object that is gone from its module
// keeps its row with only the event it waits for.
std::vector<BreakpointRow> BreakpointRows(const ModuleLibrary& library, const BreakpointList& list);

}  // namespace pelkor
