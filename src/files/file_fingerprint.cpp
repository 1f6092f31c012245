// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/file_fingerprint.h"

#include <fstream>
#include <iterator>
#include <string>

namespace pelkor {

FileFingerprint FingerprintOfBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::error_code error;
  const std::filesystem::file_time_type modified = std::filesystem::last_write_time(path, error);
  return {bytes.size(), error ? std::filesystem::file_time_type::min() : modified, DigestOf(bytes)};
}

std::optional<FileFingerprint> FingerprintOfFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error))
    return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return std::nullopt;
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad())
    return std::nullopt;
  return FingerprintOfBytes(path, bytes);
}

}  // namespace pelkor
