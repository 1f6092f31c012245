// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace pelkor {

// "バージョン情報 pelkor": the icon, the version, one line on what the program is, and the
// copyright and license.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent);
};

}  // namespace pelkor
