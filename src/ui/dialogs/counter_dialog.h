// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "model/primitives.h"

class QSpinBox;

namespace pelkor {

class FilteredTextEdit;

// "カウンタ": the count text and the count number of a counter. OK takes a text only when it
// regenerates without error.
class CounterDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CounterDialog(QWidget* parent = nullptr);

  void Load(const Counter& record, bool simulating);
  // The text and number OK took, the text with its derived logic already rebuilt.
  void Store(Counter& record) const;

  void accept() override;

 private:
  FunctionText countText_;
  int countNumber_ = 1;
  Counter scratch_;  // checks a text before the dialog takes it

  FilteredTextEdit* textEdit_;
  QSpinBox* countNumberBox_;
};

}  // namespace pelkor
