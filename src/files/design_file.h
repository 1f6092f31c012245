// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_fingerprint.h"
#include "files/input_file.h"
#include "files/safe_write.h"
#include "files/text_encoding.h"
#include "model/module.h"

namespace pelkor {

// The design-file text of a module, in memory: UTF-8, LF line ends.
std::string WriteModule(const Module& module);

// Something in design-file text that did not go into the module whole, as the reader met it.
struct ReadProblem {
  enum class Kind {
    kUnknownRecord,     // a record of its own whose keyword has no place where it stands
    kUnfinishedRecord,  // a record the file ends inside, with no record line after it
    kSkippedLines,      // lines that do not read as records, passed over up to a record line
    kTextFailure,       // a counter's or state's text fails to regenerate; the record is kept
    kNoRecords,         // text beyond the header line, but no record in it; last, all lines
  };
  Kind kind = Kind::kUnknownRecord;
  // Unknown and unfinished records: the keyword, cut to 40 characters, line breaks and other
  // control characters shown as spaces. Skipped lines and text failures: the message of the
  // failure, empty for lines that are simply no record ("comma" for a malformed record).
  std::string text;
  int firstLine = 0;  // 1-based lines of the text read
  int lastLine = 0;

  bool operator==(const ReadProblem&) const = default;
};

struct ReadReport {
  std::vector<ReadProblem> problems;  // in file order

  // Something in the file is not in the module: writing the module over the file loses it.
  bool PassedOver() const;
  // The read counts as failed: lines could not be read, a text failed, or no record was found.
  // Unknown and unfinished records alone are passed over without failing the read.
  bool Failed() const;
};

// Reads design-file text (UTF-8, LF or CR LF line ends) into an empty module and sets its
// nextObjectId. White space before a keyword is skipped. A damaged part never ends the read:
// a record that cannot be read, or one that unbalanced braces or stray text would make swallow
// the records after it, is passed over up to the next line that starts with a record keyword
// ("shift", "state", "count", "uhzi", "kemmakix", "module" or "arc", then "["), and every
// record after that is read.
ReadReport ReadModule(std::string_view text, Module& module);

// The output-log line that tells of a problem.
std::string ReadProblemMessage(const ReadProblem& problem);

struct DesignText {
  std::string text;  // UTF-8, LF line ends
  TextEncoding encoding = TextEncoding::kCp932;
  FileFingerprint fingerprint;  // of the bytes read
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
