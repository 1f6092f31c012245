// SPDX-License-Identifier: GPL-3.0-or-later
// Taking the engine's state at the end of a step and going back to it.
#include <algorithm>
#include <stdexcept>

#include "sim/engine.h"

namespace pelkor {

namespace {

template <typename T>
PagedCopy Copy(const std::vector<T>& values, const PagedCopy* previous,
               const std::shared_ptr<PageTally>& tally) {
  return PagedCopy::Of(std::span<const T>(values), previous, tally);
}

// The deleted nodes of the tree, by address.
void CollectDeleted(const RuntimeInstance& node, std::vector<const RuntimeInstance*>& deleted) {
  if (node.deleted)
    deleted.push_back(&node);
  for (const auto& [id, child] : node.children)
    CollectDeleted(*child, deleted);
}

// Sets the deleted flags of the nodes made before `next` as `deleted` has them, and notes in
// `dropped` each subtree made later.
void RestoreFlags(RuntimeInstance& node, TreeItem next,
                  const std::vector<const RuntimeInstance*>& deleted,
                  std::vector<RuntimeInstance*>& dropped) {
  node.deleted = std::binary_search(deleted.begin(), deleted.end(), &node);
  for (auto& [id, child] : node.children) {
    if (child->treeItem >= next)
      dropped.push_back(child.get());
    else
      RestoreFlags(*child, next, deleted, dropped);
  }
}

std::size_t SetBytes(const ActivitySet& set) {
  return sizeof(ActivitySet) + set.ByteSize();
}

}  // namespace

std::size_t EngineCheckpoint::Bytes() const {
  std::size_t bytes = sizeof(EngineCheckpoint) + overhead_;
  for (const PagedCopy* copy :
       {&nodes_, &prepared_, &compiled_, &live_, &registers_, &cells_, &sources_, &counters_,
        &machines_, &instances_, &connections_, &writtenSingles_, &changedSinks_, &readyMachines_,
        &readyCounters_}) {
    bytes += copy->Bytes();
  }
  for (const PagedCopy& list : received_)
    bytes += list.Bytes();
  return bytes;
}

std::size_t EngineCheckpoint::BytesBesidePages() const {
  // Each page costs its copy a pointer pair.
  std::size_t pages = 0;
  for (const PagedCopy* copy :
       {&nodes_, &prepared_, &compiled_, &live_, &registers_, &cells_, &sources_, &counters_,
        &machines_, &instances_, &connections_, &writtenSingles_, &changedSinks_, &readyMachines_,
        &readyCounters_}) {
    pages += copy->PageCount();
  }
  for (const PagedCopy& list : received_)
    pages += list.PageCount() + 1;
  return sizeof(EngineCheckpoint) + overhead_ + pages * 2 * sizeof(void*);
}

EngineCheckpoint Engine::Capture(const EngineCheckpoint* previous) const {
  EngineCheckpoint c;
  c.tally_ = previous != nullptr ? previous->tally_ : std::make_shared<PageTally>();
  const auto& tally = c.tally_;
  const auto before = [previous](PagedCopy EngineCheckpoint::*copy) {
    return previous != nullptr ? &(previous->*copy) : nullptr;
  };
  c.lengths_ = MarkSizes();
  c.nodeCount_ = nodes_.size();
  c.nodes_ = Copy(nodes_, before(&EngineCheckpoint::nodes_), tally);
  c.prepared_ = Copy(prepared_, before(&EngineCheckpoint::prepared_), tally);
  c.compiled_ = Copy(compiled_, before(&EngineCheckpoint::compiled_), tally);
  c.live_ = Copy(live_, before(&EngineCheckpoint::live_), tally);
  c.registers_ = Copy(registers_, before(&EngineCheckpoint::registers_), tally);
  c.cells_ = Copy(cells_, before(&EngineCheckpoint::cells_), tally);
  c.sources_ = Copy(sources_, before(&EngineCheckpoint::sources_), tally);
  c.counters_ = Copy(counters_, before(&EngineCheckpoint::counters_), tally);
  c.machines_ = Copy(machines_, before(&EngineCheckpoint::machines_), tally);
  c.instances_ = Copy(instances_, before(&EngineCheckpoint::instances_), tally);
  c.connections_ = Copy(connections_, before(&EngineCheckpoint::connections_), tally);
  c.writtenSingles_ = Copy(writtenSingles_, before(&EngineCheckpoint::writtenSingles_), tally);
  c.changedSinks_ = Copy(changedSinks_, before(&EngineCheckpoint::changedSinks_), tally);
  c.readyMachines_ = Copy(readyMachines_, before(&EngineCheckpoint::readyMachines_), tally);
  c.readyCounters_ = Copy(readyCounters_, before(&EngineCheckpoint::readyCounters_), tally);
  c.received_.reserve(received_.size());
  for (std::size_t list = 0; list < received_.size(); ++list) {
    const PagedCopy* earlier = previous != nullptr && list < previous->received_.size()
                                   ? &previous->received_[list]
                                   : nullptr;
    c.received_.push_back(Copy(received_[list], earlier, tally));
  }
  if (previous != nullptr && *previous->replacedQueues_ == replacedQueues_)
    c.replacedQueues_ = previous->replacedQueues_;
  else
    c.replacedQueues_ = std::make_shared<const decltype(replacedQueues_)>(replacedQueues_);
  c.registerSet_ = registerSet_;
  c.sets_ = sets_;

  c.nextTreeItem_ = library_.nextTreeItem();
  c.treeChanges_ = treeChanges_;
  if (previous != nullptr && previous->treeChanges_ == treeChanges_) {
    c.deleted_ = previous->deleted_;
  } else {
    std::vector<const RuntimeInstance*> deleted;
    CollectDeleted(library_.rootInstance(), deleted);
    std::sort(deleted.begin(), deleted.end());
    c.deleted_ = std::make_shared<const std::vector<const RuntimeInstance*>>(std::move(deleted));
  }
  c.overhead_ = SetBytes(c.registerSet_) + c.deleted_->size() * sizeof(RuntimeInstance*);
  for (const ActivitySet& set : c.sets_)
    c.overhead_ += SetBytes(set);
  for (const auto& [source, queue] : replacedQueues_)
    c.overhead_ += queue.size();
  return c;
}

void Engine::Restore(const EngineCheckpoint& c) {
  const Mark& lengths = c.lengths_;
  if (lengths.registers > registers_.size() || c.nodeCount_ > nodes_.size() ||
      lengths.received > received_.size()) {
    throw std::logic_error("a checkpoint restored after its run went back before it");
  }
  ForgetAfter(lengths);
  c.nodes_.CopyTo(nodes_);
  c.prepared_.CopyTo(prepared_);
  c.compiled_.CopyTo(compiled_);
  c.live_.CopyTo(live_);
  skipping_.assign(nodes_.size(), 0);
  if (nodeTable_.size() != nodes_.size()) {
    nodeTable_.Clear();
    nodeTable_.Reserve(nodes_.size(), [this](std::uint32_t n) { return nodes_[n].tree; });
    for (std::uint32_t n = 0; n < nodes_.size(); ++n)
      nodeTable_.Insert(n, [this](std::uint32_t k) { return nodes_[k].tree; });
  }
  c.registers_.CopyTo(registers_);
  c.cells_.CopyTo(cells_);
  c.sources_.CopyTo(sources_);
  c.counters_.CopyTo(counters_);
  c.machines_.CopyTo(machines_);
  c.instances_.CopyTo(instances_);
  c.connections_.CopyTo(connections_);
  c.writtenSingles_.CopyTo(writtenSingles_);
  c.changedSinks_.CopyTo(changedSinks_);
  c.readyMachines_.CopyTo(readyMachines_);
  c.readyCounters_.CopyTo(readyCounters_);
  for (std::size_t list = 0; list < c.received_.size(); ++list)
    c.received_[list].CopyTo(received_[list]);
  // The sources reading a replaced queue read it where the restored copy lies.
  replacedQueues_ = *c.replacedQueues_;
  for (auto& [source, queue] : replacedQueues_)
    sources_[source].queue = queue.data();
  registerSet_ = c.registerSet_;
  sets_ = c.sets_;
  reconfiguration_.needed = false;
  reconfiguration_.creations.clear();
  if (c.treeChanges_ != treeChanges_) {
    RestoreTree(c.nextTreeItem_, *c.deleted_);
    ++treeChanges_;
  }
}

// The tree as it was: the nodes made since are dropped, the deleted flags set back. The node
// shown moves out of a dropped subtree to the nearest node left that is not deleted.
void Engine::RestoreTree(TreeItem next, const std::vector<const RuntimeInstance*>& deleted) {
  std::vector<RuntimeInstance*> dropped;
  RestoreFlags(library_.rootInstance(), next, deleted, dropped);
  const RuntimeInstance* shown = &library_.currentInstance();
  const RuntimeInstance* outermost = nullptr;
  for (const RuntimeInstance* node = shown; node != nullptr; node = node->parent) {
    if (node->treeItem >= next)
      outermost = node;
  }
  if (outermost != nullptr) {
    const RuntimeInstance* target = outermost->parent;
    while (target->parent != nullptr && target->deleted)
      target = target->parent;
    library_.GoToTreeItem(target->treeItem);
    if (&library_.currentInstance() == shown)
      library_.GoToTreeItem(library_.rootInstance().treeItem);
  }
  for (RuntimeInstance* node : dropped)
    node->parent->children.erase(node->instanceNumber);
}

}  // namespace pelkor
