// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/design_file_dialog.h"

#include "ui/desktop_ui.h"

namespace pelkor {

QString DesignFileIconProvider::type(const QFileInfo& info) const {
  if (info.isFile() && info.suffix().compare("dtn", Qt::CaseInsensitive) == 0)
    return QString::fromUtf8(kDesignFileType);
  return QFileIconProvider::type(info);
}

DesignFileDialog::DesignFileDialog(QWidget* parent, const FileDialogSpec& request)
    : QFileDialog(parent, {},
                  // A pattern such as "*.dtn" is what the filter already says, so the name field
                  // starts empty; a path offered starts the dialog on that file.
                  request.initialName.find('*') == std::string::npos
                      ? QString::fromStdString(request.initialName)
                      : QString(),
                  QtFileFilter(request.filter)) {
  setAcceptMode(request.forSaving ? AcceptSave : AcceptOpen);
  setFileMode(request.forSaving ? AnyFile : ExistingFile);
  setIconProvider(&icons);
}

}  // namespace pelkor
