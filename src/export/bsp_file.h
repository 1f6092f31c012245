// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "base/errors.h"
#include "model/module.h"

namespace pelkor {

// Why an export stopped. what() is the output-log line.
class BspExportError : public MessageError {
 public:
  enum class Reason {
    kCannotOpenMainFile,  // "%sをオープンできません" with the path; nothing was written
    kCannotOpenSubModuleFile,  // "%sをオープンできません" with the file name; the main file
                               // holds its text up to that sub-module's line
    kWriteFailed,  // "%sに書き込めませんでした" with the path
  };

  BspExportError(Reason reason, const std::filesystem::path& file);

  Reason reason() const { return reason_; }
  const std::filesystem::path& file() const { return file_; }

 private:
  Reason reason_;
  std::filesystem::path file_;
};

// Exports the module to `mainFile` and its sub-module files ("state%d.bsp", "count%d.bsp")
// to the same folder, replacing existing files. The root section names the module after the
// main file's name. Each file is written as CP932 when all of its text fits, as UTF-8
// otherwise. Throws BspExportError when a file cannot be opened or written, and MessageError
// "%sのカウンタ%dにエラー" (nothing written) for a counter whose logic cannot be generated.
void WriteBsp(const std::filesystem::path& mainFile, const Module& module);

}  // namespace pelkor
