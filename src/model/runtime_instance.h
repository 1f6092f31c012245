// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "model/module.h"

namespace pelkor {

// An opaque key that the module tree window attaches to a node; 0 means none.
using TreeItem = std::uint64_t;

// The run-time state that the check compiles from a node's working copy (sim/net_runtime.h).
// The simulation that makes it also says how to destroy it, so the tree does not depend on it.
class NetRuntime;
struct NetRuntimeDeleter {
  void (*destroy)(NetRuntime*) = nullptr;
  void operator()(NetRuntime* runtime) const {
    if (destroy != nullptr)
      destroy(runtime);
  }
};

// One node of the instance tree: a placed use of a module, from the top module down.
// A design may have tens of thousands of nodes: the small fields are kept together.
struct RuntimeInstance {
  int instanceNumber = 0;       // the instance's ID in the parent's module; unused at the root
  int dynamicHostInstance = 0;  // the instance that would repeat an enclosing module, if any
  // Where the running simulation keeps this node's state; an opaque number that the simulation
  // checks against its own records before it trusts it, so a stale one is harmless.
  std::uint32_t simulationSlot = UINT32_MAX;
  bool deleted = false;           // deleted by the simulation; every phase skips it
  bool dynamicHost = false;       // holds an instance that would repeat an enclosing module
  bool scheduled = false;         // listed in the library's instanceSchedule
  std::set<int> dynamicChildIds;  // children created while the simulation runs
  std::string name;               // the module name
  std::map<int, std::unique_ptr<RuntimeInstance>> children;  // by instance number
  RuntimeInstance* parent = nullptr;
  // The working copy while a simulation runs. The engine that runs the workspace shares one copy
  // among all nodes of a module and keeps the run-time state beside it (sim/simulation.h).
  std::shared_ptr<Module> net;
  // The reference engine's cells, queues, bindings and programs of `net`, made and destroyed
  // with it (sim/net_runtime.h); the workspace's engine keeps its state elsewhere.
  std::unique_ptr<NetRuntime, NetRuntimeDeleter> runtime;
  TreeItem treeItem = 0;

  // True when this node or an ancestor is named `moduleName`.
  bool RepeatsName(const std::string& moduleName) const;
  // The child realising instance `instanceId`; throws "モジュールがありません" when there is none.
  RuntimeInstance& Child(int instanceId) const;
  // Adds the names of this node and of every node below it.
  void CollectNames(std::set<std::string>& names) const;
};

}  // namespace pelkor
