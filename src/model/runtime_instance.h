// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "model/module.h"
#include "model/sorted_id_map.h"

namespace pelkor {

// An opaque key that the module tree window attaches to a node; 0 means none.
using TreeItem = std::uint64_t;

// One node of the instance tree: a placed use of a module, from the top module down.
// A design may have hundreds of thousands of nodes: the node is kept small.
struct RuntimeInstance {
  int instanceNumber = 0;       // the instance's ID in the parent's module; unused at the root
  int dynamicHostInstance = 0;  // the instance that would repeat an enclosing module, if any
  bool deleted = false;         // deleted by the simulation; every phase skips it
  bool dynamicHost = false;     // holds an instance that would repeat an enclosing module
  // Created while the simulation runs, for an instance that repeats an enclosing module; it
  // leaves the tree when the simulation ends.
  bool dynamic = false;
  std::string name;                                        // the module name
  SortedIdMap<std::unique_ptr<RuntimeInstance>> children;  // by instance number
  RuntimeInstance* parent = nullptr;
  TreeItem treeItem = 0;

  // True when this node or an ancestor is named `moduleName`.
  bool RepeatsName(const std::string& moduleName) const;
  // The child realising instance `instanceId`; throws "モジュールがありません" when there is none.
  RuntimeInstance& Child(int instanceId) const;
  // Adds the names of this node and of every node below it.
  void CollectNames(std::set<std::string>& names) const;
};

// What a running simulation tells the walks over the tree about its nodes: whether it prepared a
// node for the run, giving it its module's run-time form. A node it has not prepared (not created
// yet, or deleted) cannot be shown.
class PreparedNodes {
 public:
  virtual bool IsPrepared(const RuntimeInstance& node) const = 0;

 protected:
  ~PreparedNodes() = default;
};

}  // namespace pelkor
