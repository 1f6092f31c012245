// SPDX-License-Identifier: GPL-3.0-or-later
// Which modules changed since they were loaded or saved, and the question before they are
// dropped. A module's design-file text is what is compared (by its digest), so every kind of edit
// counts and nothing a file does not keep (selection, run-time state) does.
#include <set>

#include "files/design_file.h"
#include "workspace/workspace.h"

namespace pelkor {

namespace {

const TextDigest& EmptyModuleDigest() {
  static const TextDigest digest = DigestOf(WriteModule(Module{}));
  return digest;
}

}  // namespace

void Workspace::MarkSaved(const std::string& moduleName) {
  if (library_.Exists(moduleName))
    savedDigests_[moduleName] = DigestOf(WriteModule(library_.ModuleByName(moduleName)));
}

void Workspace::MarkAllSaved() {
  savedDigests_.clear();
  for (const auto& [name, number] : library_.moduleNumbers())
    MarkSaved(name);
}

bool Workspace::IsModified(const std::string& moduleName) const {
  if (!library_.Exists(moduleName))
    return false;
  auto saved = savedDigests_.find(moduleName);
  const TextDigest& baseline = saved != savedDigests_.end() ? saved->second : EmptyModuleDigest();
  return DigestOf(WriteModule(library_.ModuleByName(moduleName))) != baseline;
}

std::vector<std::string> Workspace::ModifiedModules() const {
  std::set<std::string> names;
  library_.rootInstance().CollectNames(names);
  std::vector<std::string> modified;
  for (const std::string& name : names) {
    if (IsModified(name))
      modified.push_back(name);
  }
  return modified;
}

bool Workspace::ConfirmDiscardChanges() {
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
