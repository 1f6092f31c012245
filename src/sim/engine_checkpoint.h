// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "model/runtime_instance.h"
#include "sim/activity_set.h"
#include "sim/module_program.h"
#include "sim/paged_copy.h"

namespace pelkor {

// The sizes of the engine's arrays at one moment, to forget the blocks added after it.
struct EngineLengths {
  std::size_t schedule, registers, watchers, cells, sinks, sources, counters, machines, instances,
      connections, received;
};

// Everything of a run that changes from step to step, as it stood at the end of one step: the
// engine's arrays and activity sets, and the tree's run-time shape (the nodes "new" made, the
// nodes deleted). The programs are the engine's, shared by every checkpoint; the arrays only
// grow during a run and their fixed parts (watchers, which node owns which register, the
// schedule) are kept as their lengths alone. A checkpoint is restored only into the run it was
// taken from, while that run has not gone back before it.
class EngineCheckpoint {
 public:
  // The memory it holds, counting the pages it shares with other checkpoints in full.
  std::size_t Bytes() const;
  // The memory held by the pages of every checkpoint taken beside this one (the chain of
  // `previous` checkpoints it was taken in), each page counted once.
  std::size_t SharedPageBytes() const { return tally_ ? tally_->bytes : 0; }
  // The memory it holds outside those pages.
  std::size_t BytesBesidePages() const;

 private:
  friend class Engine;

  EngineLengths lengths_{};
  std::size_t nodeCount_ = 0;
  std::shared_ptr<PageTally> tally_;
  std::size_t overhead_ = 0;  // what is not in pages: the activity sets and the tree's shape

  PagedCopy nodes_, prepared_, compiled_, live_;
  PagedCopy registers_, cells_, sources_, counters_, machines_, instances_, connections_;
  PagedCopy writtenSingles_, changedSinks_, readyMachines_, readyCounters_;
  std::vector<PagedCopy> received_;
  std::shared_ptr<const std::map<std::uint32_t, std::vector<std::uint8_t>>> replacedQueues_;
  ActivitySet registerSet_;
  std::array<ActivitySet, kItemKinds> sets_;

  // The tree: the nodes made after it have a tree item from `nextTreeItem_` on; the deleted
  // nodes, by address in ascending order.
  TreeItem nextTreeItem_ = 0;
  std::uint64_t treeChanges_ = 0;
  std::shared_ptr<const std::vector<const RuntimeInstance*>> deleted_;
};

}  // namespace pelkor
