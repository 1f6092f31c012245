// SPDX-License-Identifier: GPL-3.0-or-later
// Which modules changed since they were loaded or saved, and the question before they are
// dropped. Every recorded edit, undo and redo moves a module's revision, so comparing revisions
// tells it, and nothing a file does not keep (selection, run-time state) counts.
#include <set>

#include "workspace/design_document.h"

namespace pelkor {

void DesignDocument::MarkSaved(const std::string& moduleName) {
  if (library_.Exists(moduleName))
    savedRevisions_[moduleName] = library_.ModuleByName(moduleName).revision();
}

void DesignDocument::MarkAllSaved() {
  savedRevisions_.clear();
  for (const auto& [name, number] : library_.moduleNumbers())
    MarkSaved(name);
}

bool DesignDocument::IsModified(const std::string& moduleName) const {
  if (!library_.Exists(moduleName))
    return false;
  auto saved = savedRevisions_.find(moduleName);
  // A module never loaded nor saved counts as saved while it is the empty design it started as.
  const std::uint64_t baseline = saved != savedRevisions_.end() ? saved->second : 0;
  return library_.ModuleByName(moduleName).revision() != baseline;
}

std::vector<std::string> DesignDocument::ModifiedModules() const {
  std::set<std::string> names;
  library_.rootInstance().CollectNames(names);
  std::vector<std::string> modified;
  for (const std::string& name : names) {
    if (IsModified(name))
      modified.push_back(name);
  }
  return modified;
}

bool DesignDocument::ConfirmDiscardChanges() {
  if (ModifiedModules().empty())
    return true;
  switch (ui_.AskSaveChanges()) {
    case SaveChangesAnswer::kCancel:
      return false;
    case SaveChangesAnswer::kDiscard:
      return true;
    case SaveChangesAnswer::kSaveAll:
      SaveAll();
      // A file that could not be written keeps its changes, and the design stays open.
      return ModifiedModules().empty();
  }
  return false;
}

}  // namespace pelkor
