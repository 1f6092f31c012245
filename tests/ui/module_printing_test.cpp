// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

#include "model/module.h"
#include "ui/draw_list_painter.h"
#include "ui/module_printing.h"
#include "view/picture_view.h"
#include "view/scene.h"
#include "view/view_style.h"

namespace {

// A module of one shift register, as printing draws it.
pelkor::DrawList OneRegisterPicture() {
  pelkor::Module module;
  pelkor::ShiftRegister shiftRegister;
  shiftRegister.position = {100, 100};
  module.AddShiftRegister(shiftRegister);
  pelkor::Frame frame;
  pelkor::PaintScene(module, pelkor::PictureView(module, 0), pelkor::ViewStyle{}, nullptr, {},
                     frame, nullptr);
  return frame.picture;
}

bool AnyPixel(const QImage& image, const QRect& area, const std::function<bool(QColor)>& test) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (test(image.pixelColor(x, y)))
        return true;
    }
  }
  return false;
}

}  // namespace

class ModulePrintingTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { pelkor::InstallFontSubstitutions(); }

  void pageHasTheTitleAboveThePictureScaledToFit() {
    const pelkor::DrawList picture = OneRegisterPicture();
    QImage page(400, 600, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
      QPainter painter(&page);
      pelkor::PaintPicturePage(painter, QRectF(0, 0, 400, 600), picture, "adder");
    }
    const QFontMetrics metrics(QFont{});
    const int band = metrics.height() * 2;
    const auto dark = [](QColor c) { return c.lightness() < 100; };
    const auto coloured = [](QColor c) { return c.saturation() > 100; };
    QVERIFY(AnyPixel(page, QRect(0, 0, 200, band / 2), dark));  // the title
    QVERIFY(!AnyPixel(page, QRect(0, 0, 400, band / 2), coloured));
    // The picture is no larger than on screen at 96 dpi, and centred across the page.
    const int left = (400 - picture.width) / 2;
    QVERIFY(AnyPixel(page, QRect(left, band / 2, picture.width, picture.height + band), coloured));
    QVERIFY(!AnyPixel(page, QRect(0, band, left - 2, 600 - band), coloured));
    QVERIFY(!AnyPixel(page,
                      QRect(0, band + picture.height + band, 400, 600 - 3 * band - picture.height),
                      coloured));
  }

  void printsToAPdfFileAndSaysWhenItCannot() {
    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("module.pdf"));
    QVERIFY(pelkor::PrintPicture(printer, OneRegisterPicture(), "adder"));
    QFile pdf(folder.filePath("module.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
    QVERIFY(pdf.size() > 1000);

    printer.setOutputFileName(folder.filePath("no such folder/module.pdf"));
    QVERIFY(!pelkor::PrintPicture(printer, OneRegisterPicture(), "adder"));
  }
};

QTEST_MAIN(ModulePrintingTest)
#include "module_printing_test.moc"
