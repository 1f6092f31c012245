// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>  // what a caller puts in its layout

namespace pelkor {

// The label of a dialog's field, naming it to the user and to screen readers: a click on the
// label (or its mnemonic) moves to the field.
QLabel* FieldLabel(const QString& text, QWidget* field);

// Makes an edit (line, text or spin box) read-only or editable again, and lets it look so: a
// read-only one takes the dialog's own background instead of an edit's.
void ShowReadOnly(QWidget* field, bool readOnly);

}  // namespace pelkor
