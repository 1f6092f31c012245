// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>

namespace pelkor::cli {

struct RenderOptions {
  std::filesystem::path design;
  std::filesystem::path output;
  int zoomLevel = 0;  // 0 (one logical unit per pixel) to 5 (32 units per pixel)
  // Check the design and run this many steps first, then draw its run-time state too.
  std::optional<std::int64_t> steps;
  bool quiet = false;  // no output-log lines
};

// Opens a design with its hierarchy and draws its top module, as the editor's view draws it
// with the default settings, into an SVG file just large enough for the whole module. With
// `steps`, the design is checked and stepped first and the picture is the one printing draws
// of that state; a step that fails stops the stepping, the state it left is drawn and the
// status tells of the failure.
int RenderCommand(const RenderOptions& options, std::ostream& out, std::ostream& err);

}  // namespace pelkor::cli
