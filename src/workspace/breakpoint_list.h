// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "sim/breakpoint.h"

namespace pelkor {

// The breakpoints of a design, ordered by module, object ID and node, one at each place.
class BreakpointList {
 public:
  const std::vector<Breakpoint>& items() const { return items_; }
  bool empty() const { return items_.empty(); }
  bool AnyEnabled() const;

  // Puts the breakpoint in, in place of one at the same place.
  void Add(const Breakpoint& breakpoint);
  // Removes the breakpoint at the place of `breakpoint` when there is one, else adds it; true
  // when it added it.
  bool Toggle(const Breakpoint& breakpoint);
  // Whether a breakpoint is set on the object, for any node or the given one.
  bool Has(const std::string& module, int objectId) const;
  // Each false, and nothing changed, for an index out of range or an event that `kind` cannot
  // meet.
  bool Remove(std::size_t index);
  bool SetEnabled(std::size_t index, bool enabled);
  bool SetEvent(std::size_t index, ParsedEvent event, ObjectKind kind);
  void Clear() { items_.clear(); }

  // One line each: "on" or "off", the module, the object ID, the event, the node path (empty
  // for every node), separated by tabs.
  std::string ToText() const;
  // The breakpoints of such a text; a line that does not read is passed over.
  static BreakpointList FromText(std::string_view text);

 private:
  std::vector<Breakpoint> items_;
};

}  // namespace pelkor
