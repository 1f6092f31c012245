// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "files/safe_write.h"
#include "model/module.h"

namespace pelkor {

// The user's folder for what the program keeps between sessions: $XDG_STATE_HOME
// ($HOME/.local/state when the variable is unset, empty or not an absolute path).
std::filesystem::path UserStateFolder();

// Where recovery copies live: $XDG_STATE_HOME/pelkor/recovery ($HOME/.local/state when the
// variable is unset, empty or not an absolute path).
std::filesystem::path RecoveryFolderPath();

// What a session notes about the design its copies belong to, so that they can be put back
// where they came from.
struct RecoveryDesign {
  std::string rootModule;              // the top of the hierarchy
  std::filesystem::path designFolder;  // where the design's files are read and saved

  bool operator==(const RecoveryDesign&) const = default;
};

// One module's recovery copy: design-file text, as saving writes it.
struct RecoveryCopy {
  std::string moduleName;
  std::filesystem::path file;
  std::time_t written = 0;  // when the copy was last written
};

// An open file descriptor holding an advisory lock, released when closed, or when the process
// ends however it ends.
class FolderLock {
 public:
  FolderLock() = default;
  explicit FolderLock(int descriptor) : descriptor_(descriptor) {}
  FolderLock(FolderLock&& other) noexcept : descriptor_(other.descriptor_) {
    other.descriptor_ = -1;
  }
  FolderLock& operator=(FolderLock&& other) noexcept;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock();

  // Locks the file "lock" in `folder` for this process, creating it; nullopt when another
  // process holds it (or it cannot be created).
  static std::optional<FolderLock> Take(const std::filesystem::path& folder);

 private:
  int descriptor_ = -1;
};

// The recovery copies of a session that ended without cleaning up (a crash, a kill, a power
// cut). Holding it keeps the session's lock, so that a second program started meanwhile does
// not offer the same copies.
struct AbandonedSession {
  std::filesystem::path folder;
  RecoveryDesign design;
  std::vector<RecoveryCopy> copies;  // in module-name order
  FolderLock lock;

  // When the newest copy was written.
  std::time_t LastWritten() const;
};

// The sessions in `recoveryFolder` whose program is gone, newest first. Sessions that left no
// copy are removed on the way; a session still running is never touched.
std::vector<AbandonedSession> FindAbandonedSessions(const std::filesystem::path& recoveryFolder);

// Deletes a session's copies and its folder.
void DiscardSession(AbandonedSession& session);

// This program's own folder of recovery copies, one below the recovery folder, locked for as
// long as the program lives. Each copy is written as saving writes a design file, into a
// temporary file renamed over the old copy, so a crash while writing leaves the previous copy.
class RecoverySession {
 public:
  // Creates the session's folder; throws MessageError when it cannot.
  explicit RecoverySession(const std::filesystem::path& recoveryFolder);
  RecoverySession(const RecoverySession&) = delete;
  RecoverySession& operator=(const RecoverySession&) = delete;
  // Leaves the copies: only EndCleanly removes them, so a program that dies keeps them.
  ~RecoverySession() = default;

  const std::filesystem::path& folder() const { return folder_; }
  SaveResult WriteDesign(const RecoveryDesign& design);
  SaveResult WriteCopy(const std::string& moduleName, const Module& module);
  void RemoveCopy(const std::string& moduleName);
  // The program ends with nothing left to recover: the folder goes.
  void EndCleanly();

 private:
  std::filesystem::path folder_;
  FolderLock lock_;
};

// The file name a module's copy gets: the name itself, with "%", "/", "\" and a leading "."
// written as "%" and two hexadecimal digits so that any name makes one plain file, and
// ".dtn" after it; ModuleOfCopyName reverses it (nullopt for a name no copy has).
std::string CopyFileName(const std::string& moduleName);
std::optional<std::string> ModuleOfCopyName(const std::string& fileName);

// A time as the recovery dialog shows it: "YYYY-MM-DD HH:MM:SS", local time.
std::string RecoveryTimeText(std::time_t time);

}  // namespace pelkor
