// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/safe_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "files/file_descriptor.h"

namespace pelkor {

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Creates a new, empty temporary file in `folder` whose name starts with that of `target`.
FileDescriptor CreateTemporaryBeside(const std::filesystem::path& target,
                                     std::filesystem::path& temporary) {
  static std::atomic<unsigned> sequence{0};
  const std::filesystem::path folder =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = folder / ("." + target.filename().string() + ".tmp" + std::to_string(::getpid()) +
                          "_" + std::to_string(sequence++));
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.valid() || errno != EEXIST)
      return fd;
  }
  return FileDescriptor(-1);
}

// Makes a completed rename durable; a folder that cannot be flushed loses nothing already
// written, so failure here is not reported.
void FlushFolderOf(const std::filesystem::path& target) {
  const std::filesystem::path folder =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.valid())
    ::fsync(fd.get());
}

}  // namespace

SaveResult WriteFileSafely(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path target = path;
  std::error_code error;
  // Saving through a symbolic link replaces the file it points to and keeps the link.
  if (std::filesystem::is_symlink(target, error)) {
    std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
    if (!error)
      target = std::move(resolved);
  }

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && (!S_ISREG(old.st_mode) || ::access(target.c_str(), W_OK) != 0)) {
    return SaveResult::kCannotOpen;
  }

  std::filesystem::path temporary;
  FileDescriptor fd = CreateTemporaryBeside(target, temporary);
  if (!fd.valid())
    return SaveResult::kCannotOpen;

  if (exists)
    ::fchmod(fd.get(), old.st_mode & 07777);
  const bool complete = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0 && fd.Close() &&
                        ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!complete) {
    ::unlink(temporary.c_str());
    return SaveResult::kWriteFailed;
  }
  FlushFolderOf(target);
  return SaveResult::kSaved;
}

}  // namespace pelkor
