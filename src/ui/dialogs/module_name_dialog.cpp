// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/module_name_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/dialogs/dialog_buttons.h"
#include "ui/dialogs/field_label.h"

namespace pelkor {

ModuleNameDialog::ModuleNameDialog(QWidget* parent) : QDialog(parent), nameEdit_(new QLineEdit) {
  setWindowTitle(QStringLiteral("Please input data..."));
  nameEdit_->setObjectName("name");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FieldLabel(QStringLiteral("Module nameを設定してください"), nameEdit_));
  layout->addWidget(nameEdit_);
  layout->addWidget(MakeOkCancelButtons(this));
  resize(320, sizeHint().height());
  nameEdit_->setFocus();
}

void ModuleNameDialog::accept() {
  entered_ = nameEdit_->text().toStdString();
  QDialog::accept();
}

}  // namespace pelkor
