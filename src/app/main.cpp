#include <QApplication>

#include "ui/draw_list_painter.h"
#include "ui/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  pelkor::InstallFontSubstitutions();
  pelkor::MainWindow window;
  window.show();
  return QApplication::exec();
}
