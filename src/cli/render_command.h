// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <ostream>

namespace pelkor::cli {

struct RenderOptions {
  std::filesystem::path design;
  std::filesystem::path output;
  int zoomLevel = 0;   // 0 (one logical unit per pixel) to 5 (32 units per pixel)
  bool quiet = false;  // no output-log lines
};

// Opens a design with its hierarchy and draws its top module, as the editor's view draws it
// with the default settings, into an SVG file just large enough for the whole module.
int RenderCommand(const RenderOptions& options, std::ostream& out, std::ostream& err);

}  // namespace pelkor::cli
