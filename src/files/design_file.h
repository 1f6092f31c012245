// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/input_file.h"
#include "files/safe_write.h"
#include "files/text_encoding.h"
#include "model/module.h"

namespace pelkor {

// The design-file text of a module, in memory: UTF-8, LF line ends.
std::string WriteModule(const Module& module);

// A record the reader passed over: one whose keyword is unknown where it stands, or one the
// file ends inside. Named by its keyword text, cut to 40 characters, line breaks and other
// control characters shown as spaces.
struct IgnoredRecord {
  std::string keyword;
  bool unfinished = false;  // the file ends inside it

  bool operator==(const IgnoredRecord&) const = default;
};

// Reads design-file text (UTF-8, LF or CR LF line ends) into an empty module and sets its
// nextObjectId. White space before a keyword is skipped. Throws MessageError: "comma" on a
// malformed record, or the text error of a counter or state that fails to regenerate. Records
// read before a failure stay in `module`; every record passed over, up to a failure, is added
// to `ignored` in file order.
void ReadModule(std::string_view text, Module& module, std::vector<IgnoredRecord>& ignored);
void ReadModule(std::string_view text, Module& module);

// The output-log line that tells of a record the reader passed over.
std::string IgnoredRecordMessage(const IgnoredRecord& record);

struct DesignText {
  std::string text;  // UTF-8, LF line ends
  TextEncoding encoding = TextEncoding::kCp932;
};

// Reads and decodes a design file (valid UTF-8 is taken as UTF-8, anything else as CP932)
// through `reader`, which refuses what is no design-sized regular file (InputRefused).
// Returns nullopt when the file cannot be opened for reading.
std::optional<DesignText> ReadDesignFile(const std::filesystem::path& path, InputReader& reader);
// The same for a file read on its own, within the default limits.
std::optional<DesignText> ReadDesignFile(const std::filesystem::path& path);

// Writes the module to `path` without ever destroying the previous file: the bytes go to a
// temporary file in the same folder, which replaces the old one only once complete. The text
// is written as CP932 when every character fits, as UTF-8 otherwise; `encoding` kUtf8 asks
// for UTF-8 always (CP932 is never forced at the cost of a character). CR LF line ends.
SaveResult SaveDesignFile(const std::filesystem::path& path, const Module& module,
                          std::optional<TextEncoding> encoding = std::nullopt);

}  // namespace pelkor
