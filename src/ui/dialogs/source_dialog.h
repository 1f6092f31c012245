// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <string>

#include "model/primitives.h"

class QCheckBox;
class QLineEdit;

namespace pelkor {

class FilteredTextEdit;

// "UHZI": the data, the flags and the input name of a source.
class SourceDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SourceDialog(QWidget* parent = nullptr);

  void Load(const SourceTransition& record, bool simulating);
  // The values OK took (the name also from an OK that was refused), the name trimmed.
  void Store(SourceTransition& record) const;

  void accept() override;

 private:
  std::string data_;
  bool holdValue_ = false;
  bool fromEnd_ = false;
  bool hexDisplay_ = false;
  std::string name_;

  FilteredTextEdit* dataEdit_;
  QCheckBox* holdValueBox_;
  QCheckBox* fromEndBox_;
  QCheckBox* hexDisplayBox_;
  QLineEdit* nameEdit_;
};

}  // namespace pelkor
