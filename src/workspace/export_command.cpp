// SPDX-License-Identifier: GPL-3.0-or-later
// Export of the module shown as a DRAVU objects file with its generated sub-modules.
#include "export/bsp_file.h"
#include "workspace/workspace.h"

namespace pelkor {

void Workspace::ExportBsp() {
  const CommandScope scope(*this);
  const std::string offered = library_.currentInstance().name + ".bsp";
  auto path = ui_.ChooseFile(
      {true, "ビットシリアルペトリネット(*.bsp)|*.bsp||", (designFolder_ / offered).string()});
  if (!path)
    return;
  if (!path->has_extension())
    *path += ".bsp";
  designFolder_ = FolderOf(*path);
  ExportBspTo(*path);
}

ExportOutcome Workspace::ExportBspTo(const std::filesystem::path& path) {
  const CommandScope scope(*this);
  try {
    WriteBsp(path, library_.currentModule());
    return {};
  } catch (const BspExportError& e) {
    // Even a main file that cannot be opened is said: silence would read as success.
    log_.WriteText(e.what());
    return {ExportResult::kCannotWrite, e.file()};
  } catch (const MessageError& e) {
    log_.WriteText(e.what());
    return {ExportResult::kDesignError, {}};
  }
}

}  // namespace pelkor
