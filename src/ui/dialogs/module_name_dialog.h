// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

namespace pelkor {

// "Please input data...": the module name of an unnamed module instance.
class ModuleNameDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ModuleNameDialog(QWidget* parent = nullptr);

  // The name as typed after OK; empty after Cancel.
  const std::string& EnteredName() const { return entered_; }

  void accept() override;

 private:
  std::string entered_;

  QLineEdit* nameEdit_;
};

}  // namespace pelkor
