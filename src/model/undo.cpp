// SPDX-License-Identifier: GPL-3.0-or-later
// The edit history of a module: the recorded states undo and redo move between, and the revision
// that names the design's state.
#include <memory>
#include <utility>

#include "model/module.h"

namespace pelkor {

namespace {

// The newest state and ten before it.
constexpr std::size_t kMaxStates = 11;

std::uint64_t FreshRevision() {
  static std::uint64_t last = 0;
  return ++last;
}

// The oldest state of a module whose history was never reset.
const std::shared_ptr<Module>& EmptyDesign() {
  static const std::shared_ptr<Module> empty = std::make_shared<Module>();
  return empty;
}

}  // namespace

void Module::ResetHistory() {
  redoHistory_.clear();
  undoHistory_.clear();
  revision_ = FreshRevision();
  if (keepsHistory_)
    undoHistory_.push_back(std::make_shared<Module>(*this));
}

void Module::KeepHistory(bool keep) {
  keepsHistory_ = keep;
  ResetHistory();
}

bool Module::RecordEdit() {
  if (!keepsHistory_) {
    revision_ = FreshRevision();
    return true;
  }
  if (undoHistory_.empty())
    undoHistory_.push_back(EmptyDesign());
  if (SameContent(*undoHistory_.back()))
    return false;
  redoHistory_.clear();
  revision_ = FreshRevision();
  std::shared_ptr<Module> snapshot;
  if (undoHistory_.size() >= kMaxStates) {
    std::shared_ptr<Module> oldest = std::move(undoHistory_.front());
    undoHistory_.pop_front();
    // Assigning into a snapshot nothing else refers to reuses its map nodes, which saves most
    // of the allocating and freeing that a fresh copy of a large module costs.
    if (oldest.use_count() == 1) {
      snapshot = std::move(oldest);
      *snapshot = *this;
    }
  }
  if (!snapshot)
    snapshot = std::make_shared<Module>(*this);
  undoHistory_.push_back(std::move(snapshot));
  return true;
}

bool Module::CanUndo() const {
  return UndoDepth() > 0;
}

std::size_t Module::UndoDepth() const {
  return undoHistory_.empty() ? 0 : undoHistory_.size() - 1;
}

bool Module::Undo() {
  if (!keepsHistory_)
    return false;
  // What changed since the last record is kept first, so that redo can bring it back.
  RecordEdit();
  if (undoHistory_.size() < 2)
    return false;
  redoHistory_.push_back(std::move(undoHistory_.back()));
  undoHistory_.pop_back();
  AssignMapsFrom(*undoHistory_.back());
  revision_ = undoHistory_.back()->revision_;
  return true;
}

bool Module::Redo() {
  if (redoHistory_.empty())
    return false;
  std::shared_ptr<Module> state = std::move(redoHistory_.back());
  redoHistory_.pop_back();
  AssignMapsFrom(*state);
  revision_ = state->revision_;
  if (undoHistory_.size() >= kMaxStates)
    undoHistory_.pop_front();
  undoHistory_.push_back(std::move(state));
  return true;
}

}  // namespace pelkor
