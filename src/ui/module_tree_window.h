// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDockWidget>
#include <map>

#include "model/module_tree_rows.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace pelkor {

// The module tree: a dock window, at the main window's right by default, showing the instance
// tree. Picking a node, by the user or by selectItem, reports it with itemPicked; closing it
// (close box or Escape) only asks its owner with closeRequested.
class ModuleTreeWindow : public QDockWidget {
  Q_OBJECT

 public:
  explicit ModuleTreeWindow(QWidget* parent = nullptr);

  QTreeWidget* tree() const { return tree_; }

 public slots:
  // Shows the rows anew, then selects and expands the current item.
  void rebuild(const pelkor::ModuleTree& tree);
  // Selects the item of the node the view shows; nothing happens for an item without a row.
  void selectItem(pelkor::TreeItem item);

 signals:
  void itemPicked(pelkor::TreeItem item);
  void closeRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ReportPick(QTreeWidgetItem* current);

  QTreeWidget* tree_;
  std::map<TreeItem, QTreeWidgetItem*> items_;
};

}  // namespace pelkor
