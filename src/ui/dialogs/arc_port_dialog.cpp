// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/arc_port_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "ui/dialogs/dialog_buttons.h"
#include "ui/dialogs/field_label.h"

namespace pelkor {

ArcPortDialog::ArcPortDialog(QWidget* parent)
    : QDialog(parent), nameEdit_(new QLineEdit), namesList_(new QListWidget) {
  setWindowTitle(QStringLiteral("アーク"));
  nameEdit_->setObjectName("name");
  namesList_->setObjectName("names");
  namesList_->setSortingEnabled(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FieldLabel(QStringLiteral("名前"), nameEdit_));
  layout->addWidget(nameEdit_);
  layout->addWidget(namesList_, 1);
  layout->addWidget(MakeOkCancelButtons(this));
  resize(280, 300);

  connect(namesList_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { nameEdit_->setText(item->text()); });
}

void ArcPortDialog::Fill(const std::vector<std::string>& names) {
  namesList_->clear();
  for (const std::string& name : names)
    namesList_->addItem(QString::fromStdString(name));
}

void ArcPortDialog::Preset(const std::string& text) {
  chosen_ = text;
  nameEdit_->setText(QString::fromStdString(text));
  nameEdit_->setFocus();
}

void ArcPortDialog::accept() {
  chosen_ = nameEdit_->text().toStdString();
  QDialog::accept();
}

}  // namespace pelkor
