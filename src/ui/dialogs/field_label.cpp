// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/field_label.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace pelkor {

QLabel* FieldLabel(const QString& text, QWidget* field) {
  auto* label = new QLabel(text);
  label->setBuddy(field);
  return label;
}

void ShowReadOnly(QWidget* field, bool readOnly) {
  if (auto* line = qobject_cast<QLineEdit*>(field))
    line->setReadOnly(readOnly);
  else if (auto* text = qobject_cast<QPlainTextEdit*>(field))
    text->setReadOnly(readOnly);
  else if (auto* spin = qobject_cast<QAbstractSpinBox*>(field))
    spin->setReadOnly(readOnly);
  QPalette palette = QApplication::palette(field);
  if (readOnly)
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  field->setPalette(palette);
}

}  // namespace pelkor
