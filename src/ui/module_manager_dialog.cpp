// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/module_manager_dialog.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "ui/dialogs/dialog_buttons.h"
#include "ui/dialogs/dialog_message.h"
#include "ui/qt_values.h"

namespace pelkor {

ModuleManagerDialog::ModuleManagerDialog(const std::vector<ModuleManagerEntry>& entries,
                                         ShowModule showModule, QWidget* parent)
    : QDialog(parent), showModule_(std::move(showModule)) {
  setWindowTitle("モジュールマネージャ");
  list_ = new QTableWidget(static_cast<int>(entries.size()), 3, this);
  list_->setObjectName("moduleList");
  list_->setHorizontalHeaderLabels({"Module", "Object", "Option"});
  list_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  list_->verticalHeader()->hide();
  list_->setShowGrid(false);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setWordWrap(false);
  for (int row = 0; row < static_cast<int>(entries.size()); ++row) {
    const ModuleManagerEntry& entry = entries[row];
    list_->setItem(row, 0, new QTableWidgetItem(ToQString(entry.name)));
    list_->setItem(row, 1, new QTableWidgetItem(QString::number(entry.objectCount)));
    list_->setItem(row, 2, new QTableWidgetItem(entry.isRoot ? "ROOT" : ""));
  }
  list_->resizeRowsToContents();

  nameEdit_ = new QLineEdit(this);
  nameEdit_->setObjectName("nameEdit");
  connect(list_, &QTableWidget::cellActivated, this,
          [this](int row) { nameEdit_->setText(list_->item(row, 0)->text()); });
  auto* showButton = new QPushButton("表示", this);
  showButton->setObjectName("showButton");
  connect(showButton, &QPushButton::clicked, this, &ModuleManagerDialog::ShowNamedModule);
  QWidget* buttons = MakeOkCancelButtons(this);

  auto* layout = new QGridLayout(this);
  layout->addWidget(list_, 0, 0, 1, 2);
  layout->addWidget(nameEdit_, 1, 0);
  layout->addWidget(showButton, 1, 1);
  layout->addWidget(buttons, 2, 0, 1, 2);
  resize(480, 320);
}

void ModuleManagerDialog::keyPressEvent(QKeyEvent* event) {
  // Enter on a row has activated it; it must not also press OK.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && list_->hasFocus()) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void ModuleManagerDialog::ShowNamedModule() {
  const QString name = nameEdit_->text();
  if (!showModule_(name.toStdString()))
    ShowDialogMessage(this, QString("モジュール「%1」は読み込まれていません").arg(name));
}

}  // namespace pelkor
