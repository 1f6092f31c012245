// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>

namespace pelkor {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("aboutDialog");
  setWindowTitle("バージョン情報 pelkor");
  auto* icon = new QLabel(this);
  icon->setPixmap(QIcon(":/icons/pelkor.svg").pixmap(48, 48));
  auto* version = new QLabel("pelkor Version 1.03", this);
  version->setObjectName("aboutVersion");
  auto* line = new QLabel("ビットシリアルペトリネットのエディタとシミュレータ", this);
  auto* license = new QLabel(
      "Copyright © 2026 the pelkor developers<br>"
      "このプログラムはフリーソフトウェアです。GNU General Public License バージョン3、"
      "またはそれ以降のバージョン (GPL-3.0-or-later) の条件で再頒布・改変できます。"
      "無保証です。<br>"
      "<a href=\"https://www.gnu.org/licenses/gpl-3.0.html\">"
      "https://www.gnu.org/licenses/gpl-3.0.html</a>",
      this);
  license->setObjectName("aboutLicense");
  license->setWordWrap(true);
  license->setOpenExternalLinks(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  layout->addWidget(version, 0, 1);
  layout->addWidget(line, 1, 1);
  layout->addWidget(license, 2, 1);
  layout->addWidget(buttons, 3, 0, 1, 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace pelkor
