// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/shift_register_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "edit/dialog_text.h"
#include "ui/dialogs/dialog_buttons.h"
#include "ui/dialogs/dialog_message.h"
#include "ui/dialogs/field_label.h"
#include "ui/dialogs/filtered_text_edit.h"
#include "ui/dialogs/simulation_lock.h"

namespace pelkor {
namespace {

constexpr int kLeft = 0;
constexpr int kRight = 2;

}  // namespace

ShiftRegisterDialog::ShiftRegisterDialog(QWidget* parent)
    : QDialog(parent),
      contentsEdit_(new FilteredTextEdit(FilteredTextEdit::Input::kDigits)),
      sizeEdit_(new QLineEdit),
      sizeFixedBox_(new QCheckBox(QStringLiteral("大きさを指定"))),
      left_(new QRadioButton(QStringLiteral("左"))),
      right_(new QRadioButton(QStringLiteral("右"))) {
  setWindowTitle(QStringLiteral("シフトレジスタ"));
  contentsEdit_->setObjectName("contents");
  sizeEdit_->setObjectName("size");
  sizeEdit_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), sizeEdit_));
  sizeEdit_->setMaximumWidth(sizeEdit_->fontMetrics().horizontalAdvance(u'0') * 12);
  sizeFixedBox_->setObjectName("sizeFixed");
  left_->setObjectName("left");
  right_->setObjectName("right");

  auto* sizeRow = new QHBoxLayout;
  sizeRow->addWidget(sizeFixedBox_);
  sizeRow->addWidget(FieldLabel(QStringLiteral("大きさ"), sizeEdit_));
  sizeRow->addWidget(sizeEdit_);
  sizeRow->addStretch();

  auto* directionGroup = new QGroupBox(QStringLiteral("方向"));
  auto* directionRow = new QHBoxLayout(directionGroup);
  directionRow->addWidget(left_);
  directionRow->addWidget(right_);
  directionRow->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FieldLabel(QStringLiteral("内容"), contentsEdit_));
  layout->addWidget(contentsEdit_, 1);
  layout->addLayout(sizeRow);
  layout->addWidget(directionGroup);
  layout->addWidget(MakeOkCancelButtons(this));
  resize(360, 300);

  connect(sizeFixedBox_, &QCheckBox::toggled, this, [this](bool checked) {
    sizeFixed_ = checked;
    ShowReadOnly(sizeEdit_, !checked || simulating_);
  });
}

void ShiftRegisterDialog::Load(const ShiftRegister& record, bool simulating) {
  contents_ = record.contents;
  sizeFixed_ = record.sizeFixed;
  size_ = record.size;
  simulating_ = simulating;
  direction_ = record.direction;

  contentsEdit_->SetRecordText(contents_);
  sizeEdit_->setText(QString::number(size_));
  sizeFixedBox_->setChecked(sizeFixed_);
  (direction_ != kLeft ? right_ : left_)->setChecked(true);
  LockWhileSimulating(contentsEdit_, DialogField::kRegisterContents, simulating_);
  LockWhileSimulating(sizeFixedBox_, DialogField::kRegisterSizeFixed, simulating_);
  LockWhileSimulating(sizeEdit_, DialogField::kRegisterSize, simulating_);
  ShowReadOnly(sizeEdit_, !sizeFixed_ || simulating_);
  for (QRadioButton* button : {left_, right_})
    LockWhileSimulating(button, DialogField::kRegisterDirection, simulating_);
  contentsEdit_->setFocus();
}

void ShiftRegisterDialog::Store(ShiftRegister& record) const {
  record.SetContents(contents_);
  record.sizeFixed = sizeFixed_;
  record.size = size_;
  record.direction = direction_;
}

void ShiftRegisterDialog::accept() {
  const std::string contents = contentsEdit_->RecordText();
  if (!CheckBitText(this, contents, false))
    return;
  contents_ = contents;
  size_ = DecimalValue(sizeEdit_->text().toStdString());
  direction_ = left_->isChecked() ? kLeft : kRight;
  QDialog::accept();
}

}  // namespace pelkor
