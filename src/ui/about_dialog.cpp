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
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  layout->addWidget(version, 0, 1);
  layout->addWidget(line, 1, 1);
  layout->addWidget(buttons, 2, 0, 1, 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace pelkor
