// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "base/text_digest.h"

namespace pelkor {

// What a file held when pelkor last read or wrote it, so that a later write can tell whether
// someone else changed it meanwhile.
struct FileFingerprint {
  std::uint64_t size = 0;
  std::filesystem::file_time_type modified;
  TextDigest digest{};

  bool operator==(const FileFingerprint&) const = default;
};

// The fingerprint of `bytes`, just read from or written to the file at `path`; the time is the
// file's own. A file gone meanwhile gets the earliest time, which no file on disk matches.
FileFingerprint FingerprintOfBytes(const std::filesystem::path& path, std::string_view bytes);

// The fingerprint of the file at `path` as it is now; nullopt when there is no such file or it
// cannot be read.
std::optional<FileFingerprint> FingerprintOfFile(const std::filesystem::path& path);

}  // namespace pelkor
