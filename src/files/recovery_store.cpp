// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery folder on disk: one locked folder for each running program, holding a copy of
// each module it has not saved and a note of the design they belong to.
#include "files/recovery_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "base/errors.h"
#include "files/design_file.h"

namespace pelkor {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSessionPrefix = "session-";
constexpr const char* kDesignNote = "design";
constexpr const char* kCopyExtension = ".dtn";

// Writes every character of `special`, and every control character, as "%" and two hex digits.
std::string Escape(const std::string& text, const std::string& special) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string escaped;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == '%' || special.find(c) != std::string::npos) {
      escaped += '%';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 0xF];
    } else {
      escaped += c;
    }
  }
  return escaped;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

std::optional<std::string> Unescape(const std::string& text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      plain += text[i];
      continue;
    }
    if (i + 2 >= text.size())
      return std::nullopt;
    const int high = HexDigit(text[i + 1]);
    const int low = HexDigit(text[i + 2]);
    if (high < 0 || low < 0)
      return std::nullopt;
    plain += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return plain;
}

}  // namespace

fs::path UserStateFolder() {
  if (const char* state = std::getenv("XDG_STATE_HOME"); state && state[0] == '/')
    return state;
  const char* home = std::getenv("HOME");
  if (!home || home[0] == '\0') {
    const passwd* user = ::getpwuid(::getuid());
    home = user ? user->pw_dir : nullptr;
  }
  return fs::path(home ? home : "") / ".local" / "state";
}

namespace {

std::optional<RecoveryDesign> ReadDesignNote(const fs::path& folder) {
  std::ifstream in(folder / kDesignNote, std::ios::binary);
  std::string root;
  std::string designFolder;
  if (!std::getline(in, root) || !std::getline(in, designFolder))
    return std::nullopt;
  const auto rootName = Unescape(root);
  const auto folderName = Unescape(designFolder);
  if (!rootName || !folderName)
    return std::nullopt;
  return RecoveryDesign{*rootName, *folderName};
}

std::time_t ModificationTime(const fs::path& file) {
  struct stat status {};
  return ::stat(file.c_str(), &status) == 0 ? status.st_mtime : 0;
}

std::vector<RecoveryCopy> CopiesIn(const fs::path& folder) {
  std::vector<RecoveryCopy> copies;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file(error))
      continue;
    if (const auto module = ModuleOfCopyName(name))
      copies.push_back({*module, entry.path(), ModificationTime(entry.path())});
  }
  std::sort(copies.begin(), copies.end(), [](const RecoveryCopy& a, const RecoveryCopy& b) {
    return a.moduleName < b.moduleName;
  });
  return copies;
}

}  // namespace

fs::path RecoveryFolderPath() {
  return UserStateFolder() / "pelkor" / "recovery";
}

std::string CopyFileName(const std::string& moduleName) {
  std::string name = Escape(moduleName, "/\\");
  if (!name.empty() && name[0] == '.')
    name.replace(0, 1, "%2E");
  return name + kCopyExtension;
}

std::optional<std::string> ModuleOfCopyName(const std::string& fileName) {
  const std::string extension = kCopyExtension;
  if (fileName.size() <= extension.size() ||
      fileName.compare(fileName.size() - extension.size(), extension.size(), extension) != 0 ||
      fileName[0] == '.')
    return std::nullopt;
  return Unescape(fileName.substr(0, fileName.size() - extension.size()));
}

std::string RecoveryTimeText(std::time_t time) {
  std::tm local{};
  ::localtime_r(&time, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

// The lock.

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
  if (this != &other) {
    if (descriptor_ >= 0)
      ::close(descriptor_);
    descriptor_ = other.descriptor_;
    other.descriptor_ = -1;
  }
  return *this;
}

FolderLock::~FolderLock() {
  if (descriptor_ >= 0)
    ::close(descriptor_);
}

std::optional<FolderLock> FolderLock::Take(const fs::path& folder) {
  const int descriptor = ::open((folder / "lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (descriptor < 0)
    return std::nullopt;
  FolderLock lock(descriptor);
  if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0)
    return std::nullopt;
  return lock;
}

// Sessions left behind.

std::time_t AbandonedSession::LastWritten() const {
  std::time_t last = 0;
  for (const RecoveryCopy& copy : copies)
    last = std::max(last, copy.written);
  return last;
}

std::vector<AbandonedSession> FindAbandonedSessions(const fs::path& recoveryFolder) {
  std::vector<AbandonedSession> sessions;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(recoveryFolder, error)) {
    const std::string name = entry.path().filename().string();
    const bool session = name.starts_with(kSessionPrefix);
    // A folder still being set up starts with "."; one a crash left that way holds nothing.
    if ((!session && !name.starts_with(".new-")) || !entry.is_directory(error))
      continue;
    std::optional<FolderLock> lock = FolderLock::Take(entry.path());
    if (!lock)
      continue;  // its program still runs
    AbandonedSession found{entry.path(), {}, CopiesIn(entry.path()), std::move(*lock)};
    const std::optional<RecoveryDesign> design = ReadDesignNote(entry.path());
    if (!session || found.copies.empty() || !design) {
      DiscardSession(found);
      continue;
    }
    found.design = *design;
    sessions.push_back(std::move(found));
  }
  std::sort(sessions.begin(), sessions.end(), [](const auto& a, const auto& b) {
    return a.LastWritten() != b.LastWritten() ? a.LastWritten() > b.LastWritten()
                                              : a.folder > b.folder;
  });
  return sessions;
}

void DiscardSession(AbandonedSession& session) {
  std::error_code error;
  fs::remove_all(session.folder, error);
  session.copies.clear();
}

// This program's session.

RecoverySession::RecoverySession(const fs::path& recoveryFolder) {
  std::error_code error;
  fs::create_directories(recoveryFolder, error);
  ::chmod(recoveryFolder.c_str(), 0700);
  std::string pattern = (recoveryFolder / ".new-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr)
    throw MessageError(recoveryFolder.string() + "に復元用のフォルダを作れません");
  const fs::path building = pattern;
  std::optional<FolderLock> lock = FolderLock::Take(building);
  folder_ = recoveryFolder / (kSessionPrefix + building.filename().string().substr(5));
  // Renamed only once locked, so that no other program takes it for one left behind.
  if (lock)
    fs::rename(building, folder_, error);
  if (!lock || error) {
    fs::remove_all(building, error);
    throw MessageError(recoveryFolder.string() + "に復元用のフォルダを作れません");
  }
  lock_ = std::move(*lock);
}

SaveResult RecoverySession::WriteDesign(const RecoveryDesign& design) {
  const std::string note =
      Escape(design.rootModule, "") + "\n" + Escape(design.designFolder.string(), "") + "\n";
  return WriteFileSafely(folder_ / kDesignNote, note);
}

SaveResult RecoverySession::WriteCopy(const std::string& moduleName, const Module& module) {
  return SaveDesignFile(folder_ / CopyFileName(moduleName), module);
}

void RecoverySession::RemoveCopy(const std::string& moduleName) {
  std::error_code error;
  fs::remove(folder_ / CopyFileName(moduleName), error);
}

void RecoverySession::EndCleanly() {
  std::error_code error;
  fs::remove_all(folder_, error);
}

}  // namespace pelkor
