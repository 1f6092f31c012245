#pragma once

#include <QMainWindow>

namespace pelkor {

// The main frame: menus, toolbar, status bar and the editor view of the one workspace.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;
};

}  // namespace pelkor
