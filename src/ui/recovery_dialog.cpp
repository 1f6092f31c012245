// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/recovery_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/qt_values.h"

namespace pelkor {

RecoveryDialog::RecoveryDialog(const AbandonedSession& session, QWidget* parent) : QDialog(parent) {
  setObjectName("recoveryDialog");
  setWindowTitle("変更の復元");
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(QString("pelkor が正しく終了しなかったため、%1 の保存されていない変更が"
                                  "残っています。復元しますか？\n設計フォルダ: %2")
                              .arg(ToQString(session.design.rootModule),
                                   ToQString(session.design.designFolder.string())),
                          this);
  text->setWordWrap(true);
  layout->addWidget(text);

  auto* modules = new QTableWidget(static_cast<int>(session.copies.size()), 2, this);
  modules->setObjectName("modules");
  modules->setHorizontalHeaderLabels({"モジュール", "時刻"});
  modules->verticalHeader()->hide();
  modules->setEditTriggers(QAbstractItemView::NoEditTriggers);
  modules->setSelectionMode(QAbstractItemView::NoSelection);
  for (int row = 0; row < modules->rowCount(); ++row) {
    const RecoveryCopy& copy = session.copies[static_cast<std::size_t>(row)];
    modules->setItem(row, 0, new QTableWidgetItem(ToQString(copy.moduleName)));
    modules->setItem(row, 1, new QTableWidgetItem(ToQString(RecoveryTimeText(copy.written))));
  }
  modules->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  layout->addWidget(modules);

  auto* buttons = new QDialogButtonBox(this);
  const auto add = [&](const char* name, const QString& label, QDialogButtonBox::ButtonRole role,
                       RecoveryAnswer answer) {
    QPushButton* button = buttons->addButton(label, role);
    button->setObjectName(name);
    connect(button, &QPushButton::clicked, this, [this, answer] {
      answer_ = answer;
      accept();
    });
    return button;
  };
  add("restore", "復元(&R)", QDialogButtonBox::AcceptRole, RecoveryAnswer::kRestore)
      ->setDefault(true);
  add("keep", "後で(&L)", QDialogButtonBox::RejectRole, RecoveryAnswer::kKeepForLater);
  add("discard", "破棄(&D)", QDialogButtonBox::DestructiveRole, RecoveryAnswer::kDiscard);
  layout->addWidget(buttons);
  resize(480, 300);
}

}  // namespace pelkor
