#include "ui/main_window.h"

namespace pelkor {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle("pelkor");
}

MainWindow::~MainWindow() = default;

}  // namespace pelkor
