// Saves a picture of the whole X screen, for the end-to-end tests under Xvfb.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: x11_screenshot OUT.png\n");
    return 64;
  }
  const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(0);
  if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "x11_screenshot: cannot grab or save the screen\n");
    return 1;
  }
  return 0;
}
