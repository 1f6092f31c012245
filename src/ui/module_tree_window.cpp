// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/module_tree_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "ui/qt_values.h"

namespace pelkor {

namespace {

constexpr int kItemRole = Qt::UserRole;

}  // namespace

ModuleTreeWindow::ModuleTreeWindow(QWidget* parent) : QDockWidget("モジュールツリー", parent) {
  setObjectName("moduleTreeDock");
  tree_ = new QTreeWidget(this);
  tree_->setObjectName("moduleTree");
  tree_->setHeaderHidden(true);
  tree_->setRootIsDecorated(true);
  setWidget(tree_);
  connect(tree_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* current) { ReportPick(current); });
  resize(240, 320);
}

void ModuleTreeWindow::rebuild(const ModuleTree& tree) {
  setUpdatesEnabled(false);
  {
    const QSignalBlocker blocker(tree_);
    tree_->clear();
    items_.clear();
    for (const ModuleTreeRow& row : tree.rows) {
      auto parent = items_.find(row.parent);
      auto* item =
          parent != items_.end() ? new QTreeWidgetItem(parent->second) : new QTreeWidgetItem(tree_);
      item->setText(0, ToQString(row.label));
      item->setData(0, kItemRole, QVariant::fromValue<qulonglong>(row.item));
      items_[row.item] = item;
    }
  }
  selectItem(tree.current);
  if (QTreeWidgetItem* current = tree_->currentItem())
    current->setExpanded(true);
  setUpdatesEnabled(true);
}

void ModuleTreeWindow::selectItem(TreeItem item) {
  auto it = items_.find(item);
  if (it == items_.end())
    return;
  tree_->setCurrentItem(it->second);
  tree_->scrollToItem(it->second);
}

void ModuleTreeWindow::ReportPick(QTreeWidgetItem* current) {
  if (current != nullptr)
    emit itemPicked(current->data(0, kItemRole).value<qulonglong>());
}

void ModuleTreeWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    emit closeRequested();
    return;
  }
  QDockWidget::keyPressEvent(event);
}

void ModuleTreeWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  emit closeRequested();
}

}  // namespace pelkor
