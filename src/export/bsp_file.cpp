// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/bsp_file.h"

#include <fmt/printf.h>

#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "export/bsp_writer.h"
#include "files/text_encoding.h"

namespace pelkor {
namespace {

using Reason = BspExportError::Reason;

std::string MessageFor(Reason reason, const std::filesystem::path& file) {
  if (reason == Reason::kWriteFailed) {
    return fmt::sprintf("%sに書き込めませんでした", file.string());
  }
  // A sub-module file is named as the main file's module section names it.
  const std::string name =
      reason == Reason::kCannotOpenSubModuleFile ? file.filename().string() : file.string();
  return fmt::sprintf("%sをオープンできません", name);
}

void Put(std::ofstream& out, std::string_view text) {
  const std::string bytes = EncodeText(text).bytes;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Opens `path` first, so that a file that cannot be opened stops the export before anything
// beside it is written; then writes the sub-module files, then the document itself.
void WriteDocument(const std::filesystem::path& path, const BspDocument& document,
                   Reason cannotOpen) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out.is_open())
    throw BspExportError(cannotOpen, path);

  for (const BspSubModuleFile& sub : document.subModules) {
    const std::filesystem::path subPath = path.parent_path() / sub.fileName;
    try {
      // Exporting to "state2.bsp" would otherwise have the main file and the sub-module file
      // overwrite each other.
      std::error_code ignored;
      if (std::filesystem::equivalent(subPath, path, ignored)) {
        throw BspExportError(Reason::kCannotOpenSubModuleFile, subPath);
      }
      WriteDocument(subPath, sub.document, Reason::kCannotOpenSubModuleFile);
    } catch (const BspExportError&) {
      // Writing stops at this sub-module: the file keeps the text that comes before it.
      Put(out, std::string_view(document.text).substr(0, sub.parentTextLength));
      throw;
    }
  }
  Put(out, document.text);
  out.close();
  if (out.fail())
    throw BspExportError(Reason::kWriteFailed, path);
}

}  // namespace

BspExportError::BspExportError(Reason reason, const std::filesystem::path& file)
    : MessageError(MessageFor(reason, file)), reason_(reason), file_(file) {}

void WriteBsp(const std::filesystem::path& mainFile, const Module& module) {
  BspDocument document;
  WriteBsp(document, module, mainFile.filename().string());
  WriteDocument(mainFile, document, Reason::kCannotOpenMainFile);
}

}  // namespace pelkor
