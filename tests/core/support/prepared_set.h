// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>

#include "model/runtime_instance.h"

namespace pelkor::testing {

// The nodes a running simulation would have prepared, set by hand.
class PreparedSet : public PreparedNodes {
 public:
  bool IsPrepared(const RuntimeInstance& node) const override { return nodes.contains(&node); }

  std::set<const RuntimeInstance*> nodes;
};

}  // namespace pelkor::testing
