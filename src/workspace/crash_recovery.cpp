// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/crash_recovery.h"

#include "base/errors.h"
#include "files/design_file.h"

namespace pelkor {

CrashRecovery::CrashRecovery(const DesignDocument& document, OutputLog& log,
                             const std::filesystem::path& recoveryFolder)
    : document_(document), log_(log), session_(recoveryFolder) {}

void CrashRecovery::DropStaleCopies() {
  for (auto it = copied_.begin(); it != copied_.end();) {
    // A module no longer in the library (a new design) is unchanged too.
    if (document_.IsModified(it->first)) {
      ++it;
      continue;
    }
    session_.RemoveCopy(it->first);
    it = copied_.erase(it);
  }
}

bool CrashRecovery::WriteCopies() {
  DropStaleCopies();
  const std::vector<std::string> modified = document_.ModifiedModules();
  if (modified.empty())
    return true;
  const ModuleLibrary& library = document_.library();
  const RecoveryDesign design{library.rootInstance().name, document_.folder()};
  bool written = true;
  if (design != designNoted_) {
    written = session_.WriteDesign(design) == SaveResult::kSaved;
    if (written)
      designNoted_ = design;
  }
  for (const std::string& name : modified) {
    const Module& module = library.ModuleByName(name);
    auto copy = copied_.find(name);
    if (copy != copied_.end() && copy->second == module.revision())
      continue;
    if (session_.WriteCopy(name, module) == SaveResult::kSaved) {
      copied_[name] = module.revision();
    } else {
      written = false;
    }
  }
  if (!written && !failing_)
    log_.Write("%sに復元用のコピーを書き込めませんでした", session_.folder().string());
  failing_ = !written;
  return written;
}

void CrashRecovery::EndCleanly() {
  session_.EndCleanly();
  copied_.clear();
  designNoted_.reset();
}

std::map<std::string, std::string> ReadRecoveryCopies(const AbandonedSession& session,
                                                      OutputLog& log) {
  std::map<std::string, std::string> texts;
  for (const RecoveryCopy& copy : session.copies) {
    try {
      if (std::optional<DesignText> text = ReadDesignFile(copy.file)) {
        texts.emplace(copy.moduleName, std::move(text->text));
        continue;
      }
    } catch (const InputRefused& e) {
      log.WriteText(e.what());
      continue;
    }
    log.Write("%sをオープンできません", copy.file.string());
  }
  return texts;
}

}  // namespace pelkor
