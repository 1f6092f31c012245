// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <ostream>

#include "files/design_file.h"

namespace pelkor::cli {

enum class ReadOutcome {
  kRead,
  kCannotOpen,  // said on `err`
  kFailed,      // part of the file could not be read (see ReadReport::Failed); said on `err`
  kPassedOver,  // records were passed over, each said on `err`
};

// One design file read on its own (no sub-modules), for the commands that must see all of
// it: a module the reader did not take whole is not used.
struct WholeModule {
  Module module;
  TextEncoding encoding = TextEncoding::kCp932;
  FileFingerprint fingerprint;  // of the file as read
  ReadOutcome outcome = ReadOutcome::kRead;
  ReadReport report;
};

// Messages start "pelkor-cli: DESIGN: ".
WholeModule ReadWholeModule(const std::filesystem::path& design, std::ostream& err);

}  // namespace pelkor::cli
