#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <filesystem>
#include <vector>

namespace pelkor {

class Workspace;

// The editor view: draws the module shown into a back buffer and passes the mouse, the wheel,
// the keys and the scroll bars on to the workspace.
class ViewWidget : public QAbstractScrollArea {
  Q_OBJECT

 public:
  ViewWidget(Workspace& workspace, QWidget* parent);

 signals:
  void filesDropped(const std::vector<std::filesystem::path>& paths);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  Workspace& workspace_;
  QImage backBuffer_;
};

}  // namespace pelkor
