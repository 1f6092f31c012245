// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/module.h"

namespace pelkor {

struct BspSubModuleFile;

// One DRAVU objects (.bsp) file as it goes to disk, before any file is touched: its text and
// the sub-module files (counters, multi-state machines) it makes beside itself.
struct BspDocument {
  std::string text;  // UTF-8 with CR LF line ends; encoded only when written to disk
  std::vector<BspSubModuleFile> subModules;  // in the order the text names them
};

struct BspSubModuleFile {
  std::string fileName;  // "state%d.bsp" or "count%d.bsp", created beside the parent file
  // How much of the parent's text comes before this file is written: up to and including
  // its "module[...]" line. A file that cannot be written leaves the parent this long.
  std::size_t parentTextLength = 0;
  BspDocument document;
};

// The module name a .bsp file gives in its root section: the file name up to its first ".".
std::string BspModuleName(std::string_view fileName);

// Appends the module's .bsp text to `file`, with every sub-module file it needs, named after
// `fileName` (a name without folder). Throws MessageError "%sのカウンタ%dにエラー" when a
// counter's count number is beyond what the generated logic can count (see CounterFitsLogic);
// the document is then incomplete and must not be written.
void WriteBsp(BspDocument& file, const Module& module, const std::string& fileName);

}  // namespace pelkor
