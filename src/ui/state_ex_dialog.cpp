// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/state_ex_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>

#include "files/text_encoding.h"
#include "ui/dialogs/dialog_buttons.h"
#include "ui/dialogs/dialog_message.h"
#include "ui/qt_values.h"

namespace pelkor {

namespace {

QPlainTextEdit* TextEdit(const char* name, const std::string& text, QWidget* parent) {
  auto* edit = new QPlainTextEdit(ToQString(ToLfLineEnds(text)), parent);
  edit->setObjectName(name);
  edit->setTabChangesFocus(true);
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  return edit;
}

std::string TextOf(const QPlainTextEdit* edit) {
  return ToCrLfLineEnds(ToStdString(edit->toPlainText()));
}

}  // namespace

StateExDialog::StateExDialog(const StateDialogValues& values, QWidget* parent)
    : QDialog(parent), values_(values) {
  setWindowTitle("ステートマシン");
  firstText_ = TextEdit("firstText", values.firstText, this);
  secondText_ = TextEdit("secondText", values.secondText, this);
  mainBox_ = new QCheckBox("main", this);
  mainBox_->setObjectName("mainBox");
  mainBox_->setChecked(values.isMain);
  QWidget* buttons = MakeOkCancelButtons(this);

  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel("出力", this), 0, 0);
  layout->addWidget(firstText_, 1, 0);
  layout->addWidget(new QLabel("遷移", this), 0, 1);
  layout->addWidget(secondText_, 1, 1);
  layout->addWidget(mainBox_, 2, 0);
  layout->addWidget(buttons, 2, 1);
  resize(560, 320);
  firstText_->setFocus();
}

void StateExDialog::accept() {
  const StateDialogValues typed{TextOf(firstText_), TextOf(secondText_), mainBox_->isChecked()};
  if (const std::optional<std::string> error = StateTextsError(typed)) {
    ShowDialogMessage(this, ToQString(*error));
    return;
  }
  values_ = typed;
  QDialog::accept();
}

}  // namespace pelkor
