// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/module_files.h"

namespace pelkor {

std::optional<std::filesystem::path> ModuleFiles::FileOf(const std::string& moduleName) const {
  auto file = files_.find(moduleName);
  if (file == files_.end())
    return std::nullopt;
  return file->second.path;
}

bool ModuleFiles::IsDamaged(const std::string& moduleName) const {
  auto file = files_.find(moduleName);
  return file != files_.end() && file->second.damaged;
}

void ModuleFiles::Read(const std::string& moduleName, const std::filesystem::path& path,
                       const FileFingerprint& fingerprint, bool damaged) {
  files_[moduleName] = {path, fingerprint, damaged};
}

void ModuleFiles::Written(const std::string& moduleName, const std::filesystem::path& path) {
  files_[moduleName] = {path, FingerprintOfFile(path), false};
}

void ModuleFiles::Rename(const std::string& from, const std::string& to) {
  auto file = files_.extract(from);
  if (file.empty())
    return;
  files_.erase(to);
  file.key() = to;
  files_.insert(std::move(file));
}

FileRisk ModuleFiles::RiskOfWriting(const std::string& moduleName,
                                    const std::filesystem::path& path) const {
  std::error_code error;
  // Writing where nothing is loses nothing.
  if (!std::filesystem::exists(path, error) && !error)
    return FileRisk::kNone;
  auto file = files_.find(moduleName);
  if (file == files_.end() || file->second.path != path)
    return FileRisk::kNotReadByPelkor;
  if (file->second.damaged)
    return FileRisk::kDamaged;
  const std::optional<FileFingerprint> now = FingerprintOfFile(path);
  if (!now || now != file->second.fingerprint)
    return FileRisk::kChangedOnDisk;
  return FileRisk::kNone;
}

}  // namespace pelkor
