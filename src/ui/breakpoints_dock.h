// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDockWidget>
#include <vector>

#include "workspace/breakpoint_rows.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace pelkor {

class Workspace;

// "ブレークポイント": the breakpoints of the design, one row each with a box that enables it,
// the event it waits for and a button that deletes it; a double-click shows its object. Every
// change goes to the workspace, whose rows the dock then shows again. Closing it only asks its
// owner with closeRequested.
class BreakpointsDock : public QDockWidget {
  Q_OBJECT

 public:
  explicit BreakpointsDock(Workspace& workspace, QWidget* parent = nullptr);

  QTreeWidget* list() const { return list_; }
  // Shows the workspace's breakpoints, when they differ from the rows shown.
  void Refresh();

 signals:
  void closeRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Rebuild();
  void OnItemChanged(QTreeWidgetItem* item);

  Workspace& workspace_;
  QTreeWidget* list_;
  std::vector<BreakpointRow> shown_;
  bool rebuilding_ = false;
};

}  // namespace pelkor
