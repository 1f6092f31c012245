// SPDX-License-Identifier: GPL-3.0-or-later
// Putting back a design from the recovery copies a crashed program left.
#include "files/design_file.h"
#include "files/file_fingerprint.h"
#include "workspace/design_document.h"

namespace pelkor {

void DesignDocument::Restore(const RecoveryDesign& design,
                             const std::map<std::string, std::string>& copies) {
  hierarchyReader_ = InputReader(inputLimits_);
  loadFailures_ = 0;
  Reset();
  folder_ = design.designFolder;
  const std::string root = design.rootModule;
  if (root != library_.rootInstance().name &&
      !library_.RenameModule(library_.rootInstance().name, root)) {
    log_.WriteText("読み込みに失敗しました");
    return;
  }
  // The copies come first, so that loading the hierarchy reads only the files of the modules
  // that had no unsaved changes.
  for (const auto& [name, text] : copies) {
    Module* module = name == root ? &library_.ModuleByName(root) : library_.CreateModule(name);
    if (module == nullptr)
      continue;
    for (const ReadProblem& problem : ReadModule(text, *module).problems)
      log_.WriteText(ReadProblemMessage(problem));
    module->ResetHistory();
    // Restoring is the user's word that the copy is the module's file as it stands now.
    if (const auto path = ModuleFilePath(name))
      if (const auto fingerprint = FingerprintOfFile(*path))
        files_.Read(name, AbsoluteFile(*path), *fingerprint, false);
    log_.Write("%sを復元しました", name);
  }
  Module& top = library_.ModuleByName(root);
  if (!copies.contains(root)) {
    const std::string cannotOpen = root + ".dtn" + "をオープンできません";
    const auto path = ModuleFilePath(root);
    if (!path)
      log_.WriteText(cannotOpen);
    if (path && ReadInto(*path, cannotOpen, root))
      MarkSaved(root);
  }
  library_.SetCurrentModule(root);
  SetTitle(root);
  LoadSubModules(top, library_.rootInstance());
  library_.RefreshNewDeleteFlags();
  changes_.Changed(Change::kContent | Change::kTree);
}

}  // namespace pelkor
