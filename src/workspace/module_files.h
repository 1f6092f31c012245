// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "files/file_fingerprint.h"

namespace pelkor {

// Why writing a module's file could lose something that is on disk.
enum class FileRisk {
  kNone,
  kDamaged,          // the module was read with parts of its file passed over
  kNotReadByPelkor,  // a file is there that pelkor has neither read nor written
  kChangedOnDisk,    // the file changed since pelkor last read or wrote it
};

// Where each module's design file is and what it held when pelkor last read or wrote it, so
// that saving writes where the module came from and never over what pelkor has not seen.
class ModuleFiles {
 public:
  // The module's file: the one it was last read from or saved to; nullopt for a module never
  // read nor saved.
  std::optional<std::filesystem::path> FileOf(const std::string& moduleName) const;
  bool IsDamaged(const std::string& moduleName) const;

  // The module was read from `path`, holding what `fingerprint` says; `damaged` when the
  // reader passed over part of it.
  void Read(const std::string& moduleName, const std::filesystem::path& path,
            const FileFingerprint& fingerprint, bool damaged);
  // The module was written whole to `path`, which is now its file.
  void Written(const std::string& moduleName, const std::filesystem::path& path);
  void Rename(const std::string& from, const std::string& to);
  void Clear() { files_.clear(); }

  // What writing the module to `path` would put at risk.
  FileRisk RiskOfWriting(const std::string& moduleName, const std::filesystem::path& path) const;

 private:
  struct File {
    std::filesystem::path path;
    std::optional<FileFingerprint> fingerprint;  // nullopt when it could not be taken
    bool damaged = false;
  };
  std::map<std::string, File> files_;
};

}  // namespace pelkor
