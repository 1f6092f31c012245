// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "files/recovery_store.h"
#include "model/output_log.h"
#include "workspace/design_document.h"

namespace pelkor {

// Keeps a recovery copy of every module of the design that has unsaved changes, so that a
// crash, a killed program or a power cut loses at most what changed since the last copy. A
// copy goes as soon as its module is saved or its change discarded or undone; the design
// files themselves are never written here.
class CrashRecovery {
 public:
  // Starts this program's session in `recoveryFolder`; throws MessageError when it cannot.
  CrashRecovery(const DesignDocument& document, OutputLog& log,
                const std::filesystem::path& recoveryFolder);
  CrashRecovery(const CrashRecovery&) = delete;
  CrashRecovery& operator=(const CrashRecovery&) = delete;

  const std::filesystem::path& sessionFolder() const { return session_.folder(); }
  // Writes a copy of each changed module of the hierarchy whose copy is older than its change
  // (with a note of the design they belong to), after dropping the copies no longer needed. A
  // copy that cannot be written is said once in the log, until writing works again. True when
  // every changed module has a copy of its present state.
  bool WriteCopies();
  // Removes the copies of modules that have no unsaved changes any more; cheap enough to run
  // after every command.
  void DropStaleCopies();
  // The program ends with every change saved or discarded: no copy stays.
  void EndCleanly();

 private:
  const DesignDocument& document_;
  OutputLog& log_;
  RecoverySession session_;
  std::map<std::string, std::uint64_t> copied_;  // the revision each copy holds, by module
  std::optional<RecoveryDesign> designNoted_;
  bool failing_ = false;
};

// The design-file text of each copy of an abandoned session, by module name; a copy that
// cannot be read is written to the log and left out.
std::map<std::string, std::string> ReadRecoveryCopies(const AbandonedSession& session,
                                                      OutputLog& log);

}  // namespace pelkor
