// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/source_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "edit/dialog_text.h"
#include "ui/dialogs/dialog_buttons.h"
#include "ui/dialogs/dialog_message.h"
#include "ui/dialogs/field_label.h"
#include "ui/dialogs/filtered_text_edit.h"
#include "ui/dialogs/simulation_lock.h"

namespace pelkor {

SourceDialog::SourceDialog(QWidget* parent)
    : QDialog(parent),
      dataEdit_(new FilteredTextEdit(FilteredTextEdit::Input::kUpperCase)),
      holdValueBox_(new QCheckBox(QStringLiteral("値を保持"))),
      fromEndBox_(new QCheckBox(QStringLiteral("末尾から流す"))),
      hexDisplayBox_(new QCheckBox(QStringLiteral("16進"))),
      nameEdit_(new QLineEdit) {
  setWindowTitle(QStringLiteral("UHZI"));
  dataEdit_->setObjectName("data");
  holdValueBox_->setObjectName("holdValue");
  fromEndBox_->setObjectName("fromEnd");
  hexDisplayBox_->setObjectName("hexDisplay");
  nameEdit_->setObjectName("name");

  auto* flags = new QVBoxLayout;
  flags->addWidget(holdValueBox_);
  flags->addWidget(fromEndBox_);
  flags->addWidget(hexDisplayBox_);
  flags->addStretch();
  auto* dataColumn = new QVBoxLayout;
  dataColumn->addWidget(FieldLabel(QStringLiteral("データ"), dataEdit_));
  dataColumn->addWidget(dataEdit_, 1);
  auto* dataRow = new QHBoxLayout;
  dataRow->addLayout(dataColumn, 1);
  dataRow->addLayout(flags);

  auto* nameRow = new QFormLayout;
  nameRow->addRow(QStringLiteral("Input name"), nameEdit_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(dataRow, 1);
  layout->addLayout(nameRow);
  layout->addWidget(MakeOkCancelButtons(this));
  resize(400, 280);
}

void SourceDialog::Load(const SourceTransition& record, bool simulating) {
  data_ = record.data;
  holdValue_ = record.holdValue;
  fromEnd_ = record.fromEnd;
  hexDisplay_ = record.hexDisplay;
  name_ = record.name;

  dataEdit_->SetRecordText(data_);
  holdValueBox_->setChecked(holdValue_);
  fromEndBox_->setChecked(fromEnd_);
  hexDisplayBox_->setChecked(hexDisplay_);
  nameEdit_->setText(QString::fromStdString(name_));
  LockWhileSimulating(dataEdit_, DialogField::kSourceData, simulating);
  LockWhileSimulating(holdValueBox_, DialogField::kSourceHoldValue, simulating);
  LockWhileSimulating(fromEndBox_, DialogField::kSourceFromEnd, simulating);
  LockWhileSimulating(hexDisplayBox_, DialogField::kSourceHexDisplay, simulating);
  LockWhileSimulating(nameEdit_, DialogField::kSourceName, simulating);
  dataEdit_->setFocus();
}

void SourceDialog::Store(SourceTransition& record) const {
  record.data = data_;
  record.holdValue = holdValue_;
  record.fromEnd = fromEnd_;
  record.hexDisplay = hexDisplay_;
  record.SetName(TrimmedName(name_));
}

void SourceDialog::accept() {
  name_ = nameEdit_->text().toStdString();
  const std::string data = dataEdit_->RecordText();
  if (!CheckBitText(this, data, hexDisplayBox_->isChecked()))
    return;
  holdValue_ = holdValueBox_->isChecked();
  fromEnd_ = fromEndBox_->isChecked();
  hexDisplay_ = hexDisplayBox_->isChecked();
  data_ = data;
  QDialog::accept();
}

}  // namespace pelkor
