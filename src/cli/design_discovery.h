// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pelkor::cli {

// What `pelkor-cli test` does with a design file it found.
enum class DesignPlan {
  kRun,
  kExpectsNothing,  // no sink of its hierarchy expects values
  kSubModule,       // a sub-module of a design beside it, expecting nothing of its own
};

struct FoundDesign {
  std::filesystem::path path;  // a file as given, or a given folder joined with the path below it
  DesignPlan plan = DesignPlan::kRun;
};

struct Discovery {
  std::vector<FoundDesign> designs;  // in sorted path order, each file once
  // What cannot be read, each said as the error to show: given paths and folders that cannot
  // be opened, and design files refused as input (such as a device or a file far too large).
  std::vector<std::string> unreadable;
};

// Finds the designs under `paths`: a file given is taken whatever its name, a folder is
// searched through for ".dtn" files (symbolic links to folders are not followed). A file
// that cannot be opened or loaded is planned to run, so that its failure is reported. A design
// runs when a sink of its own or of a module it loads from its folder expects values; a
// sub-module of another design found in its folder runs only when a sink of its own does.
Discovery FindDesigns(const std::vector<std::filesystem::path>& paths);

}  // namespace pelkor::cli
