// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QTimer>
#include <filesystem>
#include <vector>

#include "ui/draw_list_painter.h"
#include "ui/held_press.h"
#include "view/scene.h"

namespace pelkor {

class Workspace;

// The editor view: paints the module shown into a back buffer, copies it in one go, draws the
// tools' overlays on top, and passes the mouse, the wheel, the keys and the scroll bars on to
// the workspace.
class ViewWidget : public QAbstractScrollArea {
  Q_OBJECT

 public:
  ViewWidget(Workspace& workspace, QWidget* parent);

  // Refreshes the scroll bars from the view state, as the view does after scrolling.
  void UpdateScrollBars();
  // Shows the tooltip text after the usual short delay; empty hides it.
  void SetTooltip(const QString& text);
  // The last painted back buffer, for tests and screenshots.
  const QImage& backBuffer() const { return backBuffer_; }

 signals:
  void filesDropped(const std::vector<std::filesystem::path>& paths);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void OnScrollAction(Qt::Orientation orientation, int action);
  void ShowPendingTooltip();

  Workspace& workspace_;
  DrawListPainter replay_;
  Frame frame_;
  QImage backBuffer_;
  QTimer tooltipDelay_;
  HeldPress heldPress_{this};
  QString tooltipText_;
  bool updatingScrollBars_ = false;
};

}  // namespace pelkor
