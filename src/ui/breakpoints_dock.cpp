// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/breakpoints_dock.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

#include "workspace/workspace.h"

namespace pelkor {

namespace {

enum Column { kPlaceColumn, kEventColumn, kDeleteColumn };

}  // namespace

BreakpointsDock::BreakpointsDock(Workspace& workspace, QWidget* parent)
    : QDockWidget("ブレークポイント", parent), workspace_(workspace), list_(new QTreeWidget(this)) {
  setObjectName("breakpointsDock");
  list_->setObjectName("breakpointList");
  list_->setColumnCount(3);
  list_->setHeaderLabels({"場所", "イベント", ""});
  list_->setRootIsDecorated(false);
  list_->header()->setSectionResizeMode(kPlaceColumn, QHeaderView::Stretch);
  list_->header()->setStretchLastSection(false);
  setWidget(list_);
  connect(list_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
    if (column == kPlaceColumn)
      OnItemChanged(item);
  });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
    workspace_.GoToBreakpoint(static_cast<std::size_t>(list_->indexOfTopLevelItem(item)));
  });
  Rebuild();
}

void BreakpointsDock::Refresh() {
  if (BreakpointRows(workspace_.library(), workspace_.breakpoints()) != shown_)
    Rebuild();
}

void BreakpointsDock::Rebuild() {
  rebuilding_ = true;
  shown_ = BreakpointRows(workspace_.library(), workspace_.breakpoints());
  list_->clear();
  for (std::size_t index = 0; index < shown_.size(); ++index) {
    const BreakpointRow& row = shown_[index];
    auto* item = new QTreeWidgetItem(list_);
    item->setText(kPlaceColumn, QString::fromStdString(row.place));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(kPlaceColumn, row.enabled ? Qt::Checked : Qt::Unchecked);
    auto* events = new QComboBox(list_);
    events->setObjectName(QString("breakpointEvent%1").arg(index));
    for (const std::string& event : row.events)
      events->addItem(QString::fromStdString(event));
    events->setCurrentIndex(static_cast<int>(row.event));
    list_->setItemWidget(item, kEventColumn, events);
    // Queued: the change rebuilds the rows, and with them this combo box.
    connect(
        events, &QComboBox::currentTextChanged, this,
        [this, index](const QString& text) {
          if (const auto event = ParseEvent(text.toStdString()))
            workspace_.SetBreakpointEvent(index, *event);
        },
        Qt::QueuedConnection);
    auto* remove = new QPushButton("削除", list_);
    remove->setObjectName(QString("breakpointDelete%1").arg(index));
    list_->setItemWidget(item, kDeleteColumn, remove);
    connect(
        remove, &QPushButton::clicked, this, [this, index] { workspace_.RemoveBreakpoint(index); },
        Qt::QueuedConnection);
  }
  rebuilding_ = false;
}

void BreakpointsDock::OnItemChanged(QTreeWidgetItem* item) {
  if (rebuilding_)
    return;
  const auto index = static_cast<std::size_t>(list_->indexOfTopLevelItem(item));
  const bool enabled = item->checkState(kPlaceColumn) == Qt::Checked;
  // Queued, as the change rebuilds the rows while the list is still telling of this one.
  QMetaObject::invokeMethod(
      this, [this, index, enabled] { workspace_.SetBreakpointEnabled(index, enabled); },
      Qt::QueuedConnection);
}

void BreakpointsDock::closeEvent(QCloseEvent* event) {
  event->ignore();
  emit closeRequested();
}

}  // namespace pelkor
