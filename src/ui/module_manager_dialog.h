// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <vector>

#include "model/module_manager_entries.h"

class QLineEdit;
class QTableWidget;

namespace pelkor {

// The module manager: every loaded module with its number of primitives, the root module
// marked "ROOT". Activating a row puts its name into the edit; nothing is read back.
class ModuleManagerDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ModuleManagerDialog(const std::vector<ModuleManagerEntry>& entries,
                               QWidget* parent = nullptr);

  QTableWidget* list() const { return list_; }
  QLineEdit* nameEdit() const { return nameEdit_; }

 private:
  QTableWidget* list_;
  QLineEdit* nameEdit_;
};

}  // namespace pelkor
