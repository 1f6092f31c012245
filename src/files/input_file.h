// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "base/errors.h"

namespace pelkor {

// How much a file read as input may hold, far above any real design (a 10,000-stage chain is
// about half a megabyte), so that a wrong file chosen by accident is refused at once instead
// of filling the memory.
struct InputLimits {
  std::uint64_t fileBytes = std::uint64_t{64} << 20;      // each file
  std::uint64_t hierarchyBytes = std::uint64_t{1} << 30;  // the files of one reader together
};

// A file refused as input; the text names the file and the reason.
class InputRefused : public MessageError {
 public:
  using MessageError::MessageError;
};

// Reads input files whole: the files of one design hierarchy, or a single file.
class InputReader {
 public:
  explicit InputReader(InputLimits limits = {}) : limits_(limits) {}

  // The content of the file at `path`, links followed; nullopt when it cannot be opened or
  // read. Throws InputRefused when it is no regular file (a folder, a device, a FIFO, a
  // socket), when it holds more than the file limit, or when it would take the files read
  // through this reader past the hierarchy limit; from then on every read is refused. Nothing
  // past a limit is read, a device is never opened and a FIFO is never waited on.
  std::optional<std::string> Read(const std::filesystem::path& path);

  // Whether the hierarchy limit was passed, so that loading stops.
  bool stopped() const { return stopped_; }

 private:
  // Refuses a file of this type (a stat mode) that holds this many bytes.
  void Check(const std::filesystem::path& path, unsigned mode, std::uint64_t bytes);
  std::uint64_t HierarchyBytesLeft() const;
  [[noreturn]] void StopHierarchy(const std::filesystem::path& path);

  InputLimits limits_;
  std::uint64_t bytesRead_ = 0;
  bool stopped_ = false;
};

}  // namespace pelkor
