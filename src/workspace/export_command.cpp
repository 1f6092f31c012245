// SPDX-License-Identifier: GPL-3.0-or-later
// Export of the module shown as a DRAVU objects file with its generated sub-modules.
#include "export/bsp_file.h"
#include "workspace/design_document.h"
#include "workspace/save_messages.h"

namespace pelkor {

void DesignDocument::ExportBsp() {
  const std::string offered = library_.currentInstance().name + ".bsp";
  auto path = ui_.ChooseFile(
      {true, "ビットシリアルペトリネット(*.bsp)|*.bsp||", (folder_ / offered).string()});
  if (!path)
    return;
  if (!path->has_extension())
    *path += ".bsp";
  // An export is no design file: the folder where new modules are saved stays as it was.
  ExportBspTo(*path);
}

ExportOutcome DesignDocument::ExportBspTo(const std::filesystem::path& path) {
  try {
    WriteBsp(path, library_.currentModule());
    log_.WriteText(InFolder(path.filename().string() + "を出力しました", AbsoluteFile(path)));
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
