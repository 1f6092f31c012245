// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "workspace/breakpoint_list.h"

namespace pelkor {

// Where the breakpoints of design files are kept: $XDG_STATE_HOME/pelkor/breakpoints.
std::filesystem::path BreakpointFolderPath();

// The breakpoints of each design file, kept in a folder of the user's, never in the design:
// one small file per design file, named after a digest of its absolute path and holding the
// path, so that two designs never share one.
class BreakpointStore {
 public:
  explicit BreakpointStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

  // The breakpoints kept for the design file; none when there is no such file or it belongs
  // to another path.
  BreakpointList Load(const std::filesystem::path& design) const;
  // Keeps the list for the design file; an empty list removes its file. False when the file
  // cannot be written.
  bool Save(const std::filesystem::path& design, const BreakpointList& list) const;
  // The file that keeps the design's breakpoints.
  std::filesystem::path FileOf(const std::filesystem::path& design) const;

 private:
  std::filesystem::path folder_;
};

}  // namespace pelkor
