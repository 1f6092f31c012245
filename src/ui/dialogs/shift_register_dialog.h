// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <string>

#include "model/primitives.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace pelkor {

class FilteredTextEdit;

// "シフトレジスタ": the initial contents, the size and the direction of a shift register.
class ShiftRegisterDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ShiftRegisterDialog(QWidget* parent = nullptr);

  void Load(const ShiftRegister& record, bool simulating);
  // The values OK took; `sizeFixed` as the box was left, whichever button closed the dialog.
  void Store(ShiftRegister& record) const;

  void accept() override;

 private:
  std::string contents_;
  bool sizeFixed_ = false;
  int size_ = 1;
  int direction_ = 1;
  bool simulating_ = false;

  FilteredTextEdit* contentsEdit_;
  QLineEdit* sizeEdit_;
  QCheckBox* sizeFixedBox_;
  QRadioButton* left_;
  QRadioButton* right_;
};

}  // namespace pelkor
