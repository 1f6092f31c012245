// Which modules changed since they were loaded or saved, and the question before they are
// dropped. A module's design-file text is what is compared, so every kind of edit counts and
// nothing a file does not keep (selection, run-time state) does.
#include <set>

#include "files/design_file.h"
#include "workspace/workspace.h"

namespace pelkor {

namespace {

const std::string& EmptyModuleText() {
  static const std::string text = WriteModule(Module{});
  return text;
}

}  // namespace

void Workspace::MarkSaved(const std::string& moduleName) {
  if (library_.Exists(moduleName))
    savedText_[moduleName] = WriteModule(library_.ModuleByName(moduleName));
}

void Workspace::MarkAllSaved() {
  savedText_.clear();
  for (const auto& [name, number] : library_.moduleNumbers())
    MarkSaved(name);
}

bool Workspace::IsModified(const std::string& moduleName) const {
  if (!library_.Exists(moduleName))
    return false;
  auto saved = savedText_.find(moduleName);
  const std::string& baseline = saved != savedText_.end() ? saved->second : EmptyModuleText();
  return WriteModule(library_.ModuleByName(moduleName)) != baseline;
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
