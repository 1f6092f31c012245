// SPDX-License-Identifier: GPL-3.0-or-later
// The undo history of a module: snapshots of its design maps, oldest at the front.
#include <memory>
#include <utility>

#include "model/module.h"

namespace pelkor {

namespace {

constexpr std::size_t kMaxSnapshots = 11;

}  // namespace

void Module::PushUndo() {
  // A recorded action that changed nothing (a dialog closed by Cancel) keeps what undo left.
  if (!redoHistory.empty() && !(!undoHistory.empty() && undoHistory.back()->SameContent(*this)))
    ClearRedo();
  std::shared_ptr<Module> snapshot;
  if (undoHistory.size() >= kMaxSnapshots) {
    std::shared_ptr<Module> oldest = std::move(undoHistory.front());
    undoHistory.pop_front();
    // When nothing else refers to the oldest snapshot, assigning into it reuses its map nodes,
    // which saves most of the allocating and freeing that a fresh copy of a large module costs.
    if (oldest.use_count() == 1) {
      snapshot = std::move(oldest);
      *snapshot = *this;
    }
  }
  if (!snapshot)
    snapshot = std::make_shared<Module>(*this);
  // The history starts with the current state three times, so undo never goes back further
  // than the state after the first recorded action. Snapshots are never changed while in the
  // history, so the three can share one copy.
  if (undoHistory.empty()) {
    undoHistory.push_back(snapshot);
    undoHistory.push_back(snapshot);
  }
  undoHistory.push_back(std::move(snapshot));
}

bool Module::Undo() {
  if (undoHistory.size() < 2)
    return false;
  // The back snapshot normally holds the current state: drop it and return to the one before.
  // When the objects differ from it (delete and cut record nothing), the back is the state to
  // return to.
  std::shared_ptr<Module> left = std::make_shared<Module>(*this);
  if (undoHistory.back()->kinds == kinds)
    undoHistory.pop_back();
  const std::size_t instancesBefore = instances.size();
  AssignMapsFrom(*undoHistory.back());
  if (redoHistory.size() >= kMaxSnapshots)
    redoHistory.erase(redoHistory.begin());
  redoHistory.push_back(std::move(left));
  return instances.size() != instancesBefore;
}

bool Module::Redo() {
  if (redoHistory.empty())
    return false;
  std::shared_ptr<Module> state = std::move(redoHistory.back());
  redoHistory.pop_back();
  const std::size_t instancesBefore = instances.size();
  AssignMapsFrom(*state);
  // Recorded again, so that undo goes back from here as from any recorded action.
  if (undoHistory.size() >= kMaxSnapshots)
    undoHistory.pop_front();
  undoHistory.push_back(std::move(state));
  return instances.size() != instancesBefore;
}

}  // namespace pelkor
