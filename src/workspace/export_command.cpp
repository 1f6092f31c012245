// SPDX-License-Identifier: GPL-3.0-or-later
// Export of the module shown as a DRAVU objects file with its generated sub-modules.
#include "export/bsp_file.h"
#include "workspace/workspace.h"

namespace pelkor {

void Workspace::ExportBsp() {
  const auto path = ui_.ChooseFile({true, "ビットシリアルペトリネット(*.bsp)|*.bsp||", "*.bsp"});
  if (!path)
    return;
  designFolder_ = FolderOf(*path);
  ExportBspTo(*path);
}

ExportResult Workspace::ExportBspTo(const std::filesystem::path& path) {
  try {
    WriteBsp(path, library_.currentModule());
    return ExportResult::kExported;
  } catch (const BspExportError& e) {
    // Even a main file that cannot be opened is said: silence would read as success.
    log_.WriteText(e.what());
    return ExportResult::kCannotWrite;
  } catch (const MessageError& e) {
    log_.WriteText(e.what());
    return ExportResult::kDesignError;
  }
}

}  // namespace pelkor
