// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileDialog>
#include <QFileIconProvider>

#include "workspace/workspace_ui.h"

namespace pelkor {

// What the file dialog's type column says of design files, as the desktop's file type does:
// a system that does not know the type would call them C source by their "//" first line.
inline constexpr const char* kDesignFileType = "pelkor 設計ファイル";

class DesignFileIconProvider : public QFileIconProvider {
 public:
  QString type(const QFileInfo& info) const override;
};

// The provider outlives the dialog's own parts, which refer to it until they are gone.
struct DesignFileIcons {
  DesignFileIconProvider icons;
};

// The open or save dialog a request asks for, its type column naming design files. A desktop
// with a file dialog of its own shows that instead, which names them by the installed type.
class DesignFileDialog : private DesignFileIcons, public QFileDialog {
 public:
  DesignFileDialog(QWidget* parent, const FileDialogSpec& request);
};

}  // namespace pelkor
