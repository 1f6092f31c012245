// SPDX-License-Identifier: GPL-3.0-or-later
// Saves a picture of the whole X screen, or finds a colour on it, for the end-to-end tests
// under Xvfb.
//   x11_screenshot OUT.png
//   x11_screenshot --find RRGGBB X Y DX DY
//   x11_screenshot --region X Y WIDTH HEIGHT OUT.png
// --find walks from (X, Y) in steps of (DX, DY) to the first pixel of the colour and prints
// its position and how many pixels of the colour follow in a row along the walk ("x y run").
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

namespace {

int Find(const QImage& screen, char* argv[]) {
  const QColor colour(QString("#") + argv[2]);
  int x = std::atoi(argv[3]);
  int y = std::atoi(argv[4]);
  const int dx = std::atoi(argv[5]);
  const int dy = std::atoi(argv[6]);
  if (!colour.isValid() || (dx == 0 && dy == 0)) {
    std::fprintf(stderr, "x11_screenshot: a colour RRGGBB and a non-zero step are needed\n");
    return 64;
  }
  const auto matches = [&](int px, int py) {
    return screen.valid(px, py) && screen.pixelColor(px, py).rgb() == colour.rgb();
  };
  for (; screen.valid(x, y); x += dx, y += dy) {
    if (!matches(x, y))
      continue;
    int run = 0;
    while (matches(x + run * dx, y + run * dy))
      ++run;
    std::printf("%d %d %d\n", x, y, run);
    return 0;
  }
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  const bool find = argc == 7 && QByteArray(argv[1]) == "--find";
  const bool region = argc == 7 && QByteArray(argv[1]) == "--region";
  if (argc != 2 && !find && !region) {
    std::fprintf(stderr,
                 "usage: x11_screenshot OUT.png | --find RRGGBB X Y DX DY | "
                 "--region X Y WIDTH HEIGHT OUT.png\n");
    return 64;
  }
  QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(0);
  if (picture.isNull()) {
    std::fprintf(stderr, "x11_screenshot: cannot grab the screen\n");
    return 1;
  }
  if (find)
    return Find(picture.toImage(), argv);
  if (region) {
    picture = picture.copy(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                           std::atoi(argv[5]));
  }
  if (!picture.save(QString::fromLocal8Bit(argv[argc - 1]))) {
    std::fprintf(stderr, "x11_screenshot: cannot save the screen\n");
    return 1;
  }
  return 0;
}
