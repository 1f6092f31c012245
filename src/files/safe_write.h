// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string_view>

namespace pelkor {

enum class SaveResult {
  kSaved,
  kCannotOpen,   // the file (or its temporary beside it) could not be created
  kWriteFailed,  // writing, flushing or replacing failed; the previous file is untouched
};

// Replaces the file at `path` with `bytes` without ever leaving it half written: the bytes go
// to a temporary file in the same folder, which is flushed to disk and then renamed over the
// old file. On failure the temporary is removed and the old file stays as it was. A file the
// user made read-only is not replaced, and a replaced file keeps its permissions.
SaveResult WriteFileSafely(const std::filesystem::path& path, std::string_view bytes);

}  // namespace pelkor
