// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "model/module_manager_entries.h"

class QLineEdit;
class QTableWidget;

namespace pelkor {

// The module manager: every loaded module with its number of primitives, the root module
// marked "ROOT". Activating a row (double click or Enter) puts its name into the edit; "表示"
// shows the module the edit names. Only Enter in the edit or OK closes it as accepted.
class ModuleManagerDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows the module of that name; false when no module of that name is in the tree.
  using ShowModule = std::function<bool(const std::string& name)>;

  ModuleManagerDialog(const std::vector<ModuleManagerEntry>& entries, ShowModule showModule,
                      QWidget* parent = nullptr);

  QTableWidget* list() const { return list_; }
  QLineEdit* nameEdit() const { return nameEdit_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ShowNamedModule();

  ShowModule showModule_;
  QTableWidget* list_;
  QLineEdit* nameEdit_;
};

}  // namespace pelkor
