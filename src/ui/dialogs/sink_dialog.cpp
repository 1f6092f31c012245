// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/sink_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "edit/dialog_text.h"
#include "edit/received_values.h"
#include "ui/dialogs/dialog_buttons.h"
#include "ui/dialogs/dialog_message.h"
#include "ui/dialogs/field_label.h"
#include "ui/dialogs/filtered_text_edit.h"
#include "ui/dialogs/simulation_lock.h"

namespace pelkor {
namespace {

constexpr const char16_t* kModeTexts[] = {u"Big", u"Little", u"破棄", u"消費しない"};
constexpr const char* kModeNames[] = {"big", "little", "discard", "keep"};

}  // namespace

SinkDialog::SinkDialog(QWidget* parent)
    : QDialog(parent),
      receivedEdit_(new FilteredTextEdit(FilteredTextEdit::Input::kAny)),
      expectedEdit_(new FilteredTextEdit(FilteredTextEdit::Input::kUpperCase)),
      verdictEdit_(new QLineEdit),
      nameEdit_(new QLineEdit),
      hexDisplayBox_(new QCheckBox(QStringLiteral("16進"))) {
  setWindowTitle(QStringLiteral("ケムマキ"));
  receivedEdit_->setObjectName("received");
  ShowReadOnly(receivedEdit_, true);
  // "合否" only shows the verdict of a run; it holds nothing of the sink.
  ShowReadOnly(verdictEdit_, true);
  receivedEdit_->setFont(expectedEdit_->font());
  expectedEdit_->setObjectName("expected");
  verdictEdit_->setObjectName("verdict");
  nameEdit_->setObjectName("name");
  hexDisplayBox_->setObjectName("hexDisplay");

  auto* modeGroup = new QGroupBox(QStringLiteral("出力"));
  auto* modeColumn = new QVBoxLayout(modeGroup);
  for (std::size_t mode = 0; mode < modeButtons_.size(); ++mode) {
    modeButtons_[mode] = new QRadioButton(QString::fromUtf16(kModeTexts[mode]));
    modeButtons_[mode]->setObjectName(kModeNames[mode]);
    modeColumn->addWidget(modeButtons_[mode]);
  }

  auto* texts = new QGridLayout;
  texts->addWidget(FieldLabel(QStringLiteral("受け取った値"), receivedEdit_), 0, 0, Qt::AlignLeft);
  texts->addWidget(receivedEdit_, 1, 0);
  texts->addWidget(FieldLabel(QStringLiteral("照合"), expectedEdit_), 0, 1, Qt::AlignLeft);
  texts->addWidget(expectedEdit_, 1, 1);
  texts->setRowStretch(1, 1);

  auto* fields = new QGridLayout;
  fields->addWidget(FieldLabel(QStringLiteral("合否"), verdictEdit_), 0, 0);
  fields->addWidget(verdictEdit_, 0, 1);
  fields->addWidget(FieldLabel(QStringLiteral("Output name"), nameEdit_), 1, 0);
  fields->addWidget(nameEdit_, 1, 1);
  fields->addWidget(hexDisplayBox_, 2, 1);
  fields->setRowStretch(3, 1);

  auto* lower = new QHBoxLayout;
  lower->addLayout(fields, 1);
  lower->addWidget(modeGroup);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(texts, 1);
  layout->addLayout(lower);
  layout->addWidget(MakeOkCancelButtons(this));
  resize(480, 380);
}

void SinkDialog::Load(const SinkTransition& record, bool simulating,
                      const std::vector<int>& received) {
  expected_ = record.expected;
  receivedText_ = ReceivedText(received);
  outputMode_ = record.outputMode;
  name_ = record.name;
  hexDisplay_ = record.hexDisplay;
  if (outputMode_ < 0 || outputMode_ >= static_cast<int>(modeButtons_.size()))
    outputMode_ = 0;

  modeButtons_[static_cast<std::size_t>(outputMode_)]->setChecked(true);
  hexDisplayBox_->setChecked(hexDisplay_);
  expectedEdit_->SetRecordText(expected_);
  receivedEdit_->SetRecordText(FormatReceivedValues(receivedText_, outputMode_, hexDisplay_));
  nameEdit_->setText(QString::fromStdString(name_));
  for (QRadioButton* button : modeButtons_)
    LockWhileSimulating(button, DialogField::kSinkOutputMode, simulating);
  LockWhileSimulating(hexDisplayBox_, DialogField::kSinkHexDisplay, simulating);
  LockWhileSimulating(expectedEdit_, DialogField::kSinkExpected, simulating);
  LockWhileSimulating(nameEdit_, DialogField::kSinkName, simulating);
}

void SinkDialog::Store(SinkTransition& record) const {
  record.expected = expected_;
  record.outputMode = outputMode_;
  record.SetName(TrimmedName(name_));
  record.hexDisplay = hexDisplay_;
}

void SinkDialog::SetVerdict(const QString& text) {
  verdictEdit_->setText(text);
}

void SinkDialog::accept() {
  name_ = nameEdit_->text().toStdString();
  for (std::size_t mode = 0; mode < modeButtons_.size(); ++mode) {
    if (modeButtons_[mode]->isChecked()) {
      outputMode_ = static_cast<int>(mode);
      break;
    }
  }
  hexDisplay_ = hexDisplayBox_->isChecked();
  const std::string expected = expectedEdit_->RecordText();
  if (!CheckBitText(this, expected, hexDisplay_))
    return;
  expected_ = expected;
  QDialog::accept();
}

}  // namespace pelkor
