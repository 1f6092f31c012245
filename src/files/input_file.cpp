// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "files/file_descriptor.h"

namespace pelkor {

namespace {

// A limit as the user would say it: "64MiB", "1GiB", or bytes when it is no whole number of
// either.
std::string SizeText(std::uint64_t bytes) {
  constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
  constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
  if (bytes >= kGiB && bytes % kGiB == 0)
    return std::to_string(bytes / kGiB) + "GiB";
  if (bytes >= kMiB && bytes % kMiB == 0)
    return std::to_string(bytes / kMiB) + "MiB";
  return std::to_string(bytes) + "バイト";
}

// What a file that is not a regular one is, as the refusal says it.
const char* KindOf(unsigned mode) {
  switch (mode & S_IFMT) {
    case S_IFDIR:
      return "フォルダな";
    case S_IFCHR:
    case S_IFBLK:
      return "デバイスな";
    case S_IFIFO:
      return "FIFOな";
    case S_IFSOCK:
      return "ソケットな";
    default:
      return "通常のファイルでない";
  }
}

}  // namespace

void InputReader::Check(const std::filesystem::path& path, unsigned mode, std::uint64_t bytes) {
  if (!S_ISREG(mode))
    throw InputRefused(path.string() + "は" + KindOf(mode) + "ので読み込めません");
  if (bytes > limits_.fileBytes) {
    throw InputRefused(path.string() + "は" + SizeText(limits_.fileBytes) +
                       "を超えるので読み込めません");
  }
  if (bytes > HierarchyBytesLeft())
    StopHierarchy(path);
}

std::uint64_t InputReader::HierarchyBytesLeft() const {
  return limits_.hierarchyBytes - std::min(bytesRead_, limits_.hierarchyBytes);
}

void InputReader::StopHierarchy(const std::filesystem::path& path) {
  stopped_ = true;
  throw InputRefused(path.string() + "で階層のファイルが合わせて" +
                     SizeText(limits_.hierarchyBytes) + "を超えるので読み込みを止めます");
}

std::optional<std::string> InputReader::Read(const std::filesystem::path& path) {
  if (stopped_)
    StopHierarchy(path);
  // Looked at before opening, since opening a device can do something of its own.
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0)
    return std::nullopt;
  Check(path, status.st_mode, static_cast<std::uint64_t>(status.st_size));
  // Without waiting: a FIFO put in the file's place after the look would block a plain open.
  const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!fd.valid() || ::fstat(fd.get(), &status) != 0)
    return std::nullopt;
  // The file opened is the one that counts.
  Check(path, status.st_mode, static_cast<std::uint64_t>(status.st_size));

  // One byte past the limit tells a file that grew after the look, without reading it whole.
  const std::uint64_t limit = std::min(limits_.fileBytes, HierarchyBytesLeft());
  std::string content;
  content.reserve(static_cast<std::size_t>(status.st_size));
  char chunk[65536];
  while (content.size() <= limit) {
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(sizeof chunk, limit + 1 - content.size()));
    const ssize_t count = ::read(fd.get(), chunk, wanted);
    if (count < 0 && errno == EINTR)
      continue;
    if (count < 0)
      return std::nullopt;
    if (count == 0)
      break;
    content.append(chunk, static_cast<std::size_t>(count));
  }
  Check(path, status.st_mode, content.size());
  bytesRead_ += content.size();
  return content;
}

}  // namespace pelkor
