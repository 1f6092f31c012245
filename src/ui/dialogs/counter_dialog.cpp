// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/counter_dialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "base/errors.h"
#include "edit/dialog_text.h"
#include "ui/dialogs/dialog_buttons.h"
#include "ui/dialogs/dialog_message.h"
#include "ui/dialogs/field_label.h"
#include "ui/dialogs/filtered_text_edit.h"
#include "ui/dialogs/simulation_lock.h"

namespace pelkor {
namespace {

// Takes any typed digits and reads them the way the count number is read, so a number out of
// range becomes the nearest end of the range instead of being refused keystroke by keystroke.
class CountNumberBox : public QSpinBox {
 public:
  CountNumberBox() { setRange(kMinCountNumber, kMaxCountNumber); }

 protected:
  QValidator::State validate(QString& input, int& /*pos*/) const override {
    if (input.isEmpty())
      return QValidator::Intermediate;
    const bool digits =
        std::all_of(input.begin(), input.end(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; });
    return digits ? QValidator::Acceptable : QValidator::Invalid;
  }
  int valueFromText(const QString& text) const override {
    return CountNumberOfText(text.toStdString());
  }
};

}  // namespace

CounterDialog::CounterDialog(QWidget* parent)
    : QDialog(parent),
      textEdit_(new FilteredTextEdit(FilteredTextEdit::Input::kAny)),
      countNumberBox_(new CountNumberBox) {
  setWindowTitle(QStringLiteral("カウンタ"));
  textEdit_->setObjectName("countText");
  countNumberBox_->setObjectName("countNumber");

  auto* numberRow = new QFormLayout;
  numberRow->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  numberRow->addRow(QStringLiteral("カウント数"), countNumberBox_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FieldLabel(QStringLiteral("カウントする式"), textEdit_));
  layout->addWidget(textEdit_, 1);
  layout->addLayout(numberRow);
  layout->addWidget(MakeOkCancelButtons(this));
  resize(400, 300);
}

void CounterDialog::Load(const Counter& record, bool simulating) {
  countText_ = record.countText;
  countNumber_ = record.countNumber;

  textEdit_->SetRecordText(countText_.source);
  countNumberBox_->setValue(countNumber_);
  LockWhileSimulating(textEdit_, DialogField::kCounterText, simulating);
  LockWhileSimulating(countNumberBox_, DialogField::kCounterNumber, simulating);
  textEdit_->setFocus();
}

void CounterDialog::Store(Counter& record) const {
  record.countText = countText_;
  record.countNumber = countNumber_;
}

void CounterDialog::accept() {
  scratch_.countText.source = textEdit_->RecordText();
  try {
    scratch_.Regenerate();
  } catch (const MessageError& error) {
    ShowDialogMessage(this, QString::fromStdString(error.what()));
    return;
  }
  countNumberBox_->interpretText();
  countText_ = scratch_.countText;
  countNumber_ = countNumberBox_->value();
  QDialog::accept();
}

}  // namespace pelkor
