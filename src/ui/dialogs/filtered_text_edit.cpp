// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/filtered_text_edit.h"

#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <algorithm>

#include "edit/dialog_text.h"

namespace pelkor {
namespace {

bool IsPrintable(const QString& text) {
  return std::any_of(text.begin(), text.end(), [](QChar ch) { return ch.isPrint(); });
}

bool IsAsciiDigits(const QString& text) {
  return std::all_of(text.begin(), text.end(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; });
}

}  // namespace

FilteredTextEdit::FilteredTextEdit(Input input, QWidget* parent)
    : QPlainTextEdit(parent), input_(input) {
  setTabChangesFocus(true);
  if (input != Input::kAny)
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

void FilteredTextEdit::SetRecordText(const std::string& text) {
  setPlainText(QString::fromStdString(EditLineBreaks(text)));
}

std::string FilteredTextEdit::RecordText() const {
  return RecordLineBreaks(toPlainText().toStdString());
}

void FilteredTextEdit::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  if (input_ == Input::kDigits && IsPrintable(text) && !IsAsciiDigits(text)) {
    event->accept();  // swallowed: nothing else acts on it
    return;
  }
  if (input_ == Input::kUpperCase && text != text.toUpper()) {
    QKeyEvent upper(event->type(), event->key(), event->modifiers(), text.toUpper(),
                    event->isAutoRepeat(), static_cast<quint16>(event->count()));
    QPlainTextEdit::keyPressEvent(&upper);
    event->setAccepted(upper.isAccepted());
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void FilteredTextEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (input_ != Input::kUpperCase || event->commitString() == event->commitString().toUpper()) {
    QPlainTextEdit::inputMethodEvent(event);
    return;
  }
  QInputMethodEvent upper(event->preeditString(), event->attributes());
  upper.setCommitString(event->commitString().toUpper(), event->replacementStart(),
                        event->replacementLength());
  QPlainTextEdit::inputMethodEvent(&upper);
}

void FilteredTextEdit::insertFromMimeData(const QMimeData* source) {
  if (input_ != Input::kUpperCase || !source->hasText()) {
    QPlainTextEdit::insertFromMimeData(source);
    return;
  }
  insertPlainText(source->text().toUpper());
}

}  // namespace pelkor
