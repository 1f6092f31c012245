#include "ui/view_widget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>

#include "workspace/workspace.h"

namespace pelkor {

ViewWidget::ViewWidget(Workspace& workspace, QWidget* parent)
    : QAbstractScrollArea(parent), workspace_(workspace) {
  setObjectName("view");
  setAcceptDrops(true);
  viewport()->setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void ViewWidget::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), Qt::white);
}

void ViewWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls())
    event->acceptProposedAction();
}

void ViewWidget::dropEvent(QDropEvent* event) {
  std::vector<std::filesystem::path> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile())
      paths.emplace_back(url.toLocalFile().toStdString());
  }
  if (!paths.empty()) {
    event->acceptProposedAction();
    emit filesDropped(paths);
  }
}

}  // namespace pelkor
