// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFontInfo>
#include <QRawFont>
#include <QtTest>

#include "model/module.h"
#include "ui/draw_list_painter.h"
#include "view/scene.h"

namespace {

using pelkor::ColorRef;
using pelkor::Rgb;

QColor ToQColor(ColorRef colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

pelkor::ViewState ClientOf(int width, int height) {
  pelkor::ViewState view;
  view.width = width;
  view.height = height;
  return view;
}

// The module painted at scale 1 with the origin at (0, 0), replayed into an image.
QImage Painted(const pelkor::Module& module, const pelkor::ViewStyle& style,
               pelkor::DrawListPainter& painter) {
  pelkor::Frame frame;
  pelkor::PaintScene(module, ClientOf(400, 300), style, nullptr, {}, frame, nullptr);
  QImage image;
  painter.Render(frame.picture, image);
  return image;
}

QImage Painted(const pelkor::Module& module, const pelkor::ViewStyle& style = {}) {
  pelkor::DrawListPainter painter;
  return Painted(module, style, painter);
}

pelkor::Module OneRegisterAt(pelkor::Point position) {
  pelkor::Module module;
  pelkor::ShiftRegister shiftRegister;
  shiftRegister.position = position;
  module.AddShiftRegister(shiftRegister);
  return module;
}

}  // namespace

class DrawListPainterTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { pelkor::InstallFontSubstitutions(); }

  void registerOutlineLiesOnTheEdgesOfItsBox() {
    // On black and without a grid, so only the register shows.
    pelkor::ViewStyle style;
    style.colours[pelkor::kBackgroundColour] = Rgb(0, 0, 0);
    style.gridSize = 0;
    const QImage image = Painted(OneRegisterAt({100, 100}), style);
    QCOMPARE(image.size(), QSize(400, 300));

    const QColor outline = ToQColor(style.Colour(pelkor::kShiftRegisterKind));
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    // The rectangle (80, 87)-(120, 113) with a 3-pixel pen: the outline is centred on the
    // pixels 80 and 119 across, 87 and 112 down.
    const struct {
      int x;
      int y;
      QColor colour;
    } pixels[] = {
        {78, 100, black},  {79, 100, outline},  {81, 100, outline},  {82, 100, white},
        {117, 100, white}, {118, 100, outline}, {120, 100, outline}, {121, 100, black},
        {100, 85, black},  {100, 86, outline},  {100, 88, outline},  {100, 89, white},
        {100, 110, white}, {100, 111, outline}, {100, 113, outline}, {100, 114, black},
    };
    for (const auto& p : pixels)
      QVERIFY2(image.pixelColor(p.x, p.y) == p.colour,
               qPrintable(QString("pixel %1,%2 is %3")
                              .arg(p.x)
                              .arg(p.y)
                              .arg(image.pixelColor(p.x, p.y).name())));
  }

  void aReplayDoesNotReuseTheFiguresOfAnotherColour() {
    pelkor::DrawListPainter painter;
    pelkor::ViewStyle style;
    Painted(OneRegisterAt({100, 100}), style, painter);
    style.colours[pelkor::kShiftRegisterKind] = Rgb(10, 20, 30);
    const QImage image = Painted(OneRegisterAt({200, 150}), style, painter);
    QCOMPARE(image.pixelColor(180, 150), QColor(10, 20, 30));
  }

  void spritesPaintWhatTheFiguresPaint() {
    // Every kind, labelled, in a crowd where boxes and texts overlap and cross the edges.
    pelkor::Module module;
    for (int i = 0; i < 60; ++i) {
      const pelkor::Point at{-10 + 37 * (i % 12), -5 + 31 * (i / 12) + 3 * (i % 5)};
      switch (i % 6) {
        case 0: {
          pelkor::ShiftRegister shiftRegister;
          shiftRegister.contents = "0110";
          shiftRegister.size = 4;
          module.AddShiftRegister(shiftRegister, at);
          break;
        }
        case 1:
          module.AddCounter(pelkor::Counter{}, at);
          break;
        case 2: {
          pelkor::ModuleInstance instance;
          instance.moduleName = "adder";
          module.AddInstance(instance, at);
          break;
        }
        case 3: {
          pelkor::SourceTransition source;
          source.name = "in";
          module.AddSource(source, at);
          break;
        }
        case 4: {
          pelkor::SinkTransition sink;
          sink.name = "out";
          module.AddSink(sink, at);
          break;
        }
        default:
          module.AddStateMachine(pelkor::StateMachine{}, at);
      }
      if (i > 0)
        module.AddArc(i, i + 1, {}, "a");
    }
    for (const int zoomLevel : {0, 1, 2}) {
      pelkor::ViewState view = ClientOf(400, 150);
      view.zoomLevel = zoomLevel;
      view.scale = 1 << zoomLevel;
      view.showObjectIds = true;
      pelkor::Frame frame;
      pelkor::PaintScene(module, view, {}, nullptr, {}, frame, nullptr);
      pelkor::DrawListPainter painter;
      QImage sprites;
      painter.Render(frame.picture, sprites);
      painter.Render(frame.picture, sprites);  // the second time from the kept sprites
      QImage figures(sprites.size(), QImage::Format_RGB32);
      {
        QPainter direct(&figures);
        painter.Paint(direct, frame.picture);
      }
      for (int y = 0; y < sprites.height(); ++y) {
        for (int x = 0; x < sprites.width(); ++x) {
          const QColor a = sprites.pixelColor(x, y);
          const QColor b = figures.pixelColor(x, y);
          // Text edges are blended; rounding may differ by a step.
          const int difference =
              std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                        std::abs(a.blue() - b.blue())});
          QVERIFY2(difference <= 2, qPrintable(QString("level %1 pixel %2,%3: %4 vs %5")
                                                   .arg(zoomLevel)
                                                   .arg(x)
                                                   .arg(y)
                                                   .arg(a.name(), b.name())));
        }
      }
    }
  }

  void viewFontDrawsJapanese() {
    const QFont font = pelkor::ViewFont(pelkor::LogFont{});
    QCOMPARE(font.pixelSize(), 15);
    QVERIFY(font.bold());
    QVERIFY(font.italic());
    const QRawFont raw = QRawFont::fromFont(font);
    QVERIFY2(raw.isValid(), qPrintable(QFontInfo(font).family()));
    for (const char32_t c : U"シフトレジスタ破棄")
      QVERIFY2(c == 0 || raw.supportsCharacter(c), qPrintable(raw.familyName()));
  }

  void discardingSinkWritesItsLabelAboveIt() {
    pelkor::Module module;
    pelkor::SinkTransition sink;
    sink.position = {200, 200};
    sink.outputMode = 2;
    module.AddSink(sink);
    const QImage image = Painted(module);
    int dark = 0;
    for (int y = 175; y < 195; ++y) {
      for (int x = 200; x < 235; ++x)
        dark += image.pixelColor(x, y).lightness() < 100;
    }
    QVERIFY2(dark > 20, qPrintable(QString::number(dark)));
  }

  void arcsToFarObjectsAreDrawnUpToTheWindow() {
    pelkor::Module module;
    pelkor::ShiftRegister near;
    near.position = {100, 100};
    const int from = module.AddShiftRegister(near);
    pelkor::Counter far;
    far.position = {2'000'000'000, 100};
    const int to = module.AddCounter(far);
    module.AddArc(from, to, {{100, -2'000'000'000}}, "");
    const QImage image = Painted(module);
    // The first piece runs straight up from the register's box.
    QCOMPARE(image.pixelColor(100, 50), ToQColor(pelkor::ViewStyle{}.Colour(pelkor::kArcColour)));
  }
};

QTEST_MAIN(DrawListPainterTest)
#include "draw_list_painter_test.moc"
