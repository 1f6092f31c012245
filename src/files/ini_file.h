// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/safe_write.h"

namespace pelkor {

// An ini file as the Windows private-profile functions see it: "[SECTION]" lines and
// "key=value" lines, names compared without regard to ASCII case, blanks around names and
// values ignored, the first of repeated keys winning. Every other line (comments, blank
// lines) is kept, so writing a file back changes only the keys that were set.
class IniFile {
 public:
  // UTF-8 text with LF or CR LF line ends.
  static IniFile Parse(std::string_view text);
  // UTF-8 text with LF line ends.
  std::string Serialize() const;

  // The value of a key, without the blanks around it and without one pair of enclosing
  // quotes; nullopt when the section or the key is missing.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Replaces the key's value in place, or appends the key to its section, or appends the
  // section to the file.
  void Set(std::string_view section, std::string_view key, std::string_view value);

 private:
  struct Line {
    std::string text;  // as read or as last written
    std::string key;   // empty for a line that is not "key=value"
  };
  struct Section {
    std::string name;  // empty for the lines before the first section
    std::vector<Line> lines;
  };

  // The index of the first section of that name; the lines before the first section header
  // (index 0) belong to no section.
  std::optional<std::size_t> FindSection(std::string_view name) const;

  std::vector<Section> sections_{Section{}};
};

// Reads an ini file, decoded like a design file (UTF-8 or the Windows build's CP932). A file
// that is missing or unreadable, or no regular file of a sane size, reads as an empty one.
IniFile LoadIniFile(const std::filesystem::path& path);
// Writes the file safely (see WriteFileSafely), in CP932 when every character fits, with
// CR LF line ends like the Windows build's.
SaveResult SaveIniFile(const std::filesystem::path& path, const IniFile& ini);

}  // namespace pelkor
