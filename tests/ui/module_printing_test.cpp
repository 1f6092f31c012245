// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>

#include "model/module.h"
#include "ui/draw_list_painter.h"
#include "ui/module_printing.h"
#include "ui/print_scale_dialog.h"
#include "view/picture_view.h"
#include "view/scene.h"
#include "view/view_style.h"
#include "workspace/workspace.h"

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

// The chain of the peer benchmark, without its source and sink: `stages` inverter instances
// joined by one-cell registers 100 pixels apart, each register holding "0110", its label.
void WriteChain(const QString& folder, int stages) {
  std::ofstream chain(QString(folder + "/chain.dtn").toStdString(), std::ios::binary);
  chain << "//pelkor file\n";
  for (int k = 0; k <= stages; ++k)
    chain << "shift[" << k + 1 << "," << 100 * k << ",100,0,1,2]{\n0110}\n";
  const int firstInstance = stages + 2;
  for (int k = 0; k < stages; ++k)
    chain << "module[" << firstInstance + k << "," << 100 * k + 50 << ",160]{\ninv}\n";
  for (int k = 0; k < stages; ++k) {
    chain << "arc[" << k + 1 << "," << firstInstance + k << "]{a}\n";
    chain << "arc[" << firstInstance + k << "," << k + 2 << "]{q}\n";
  }
  std::ofstream(QString(folder + "/inv.dtn").toStdString(), std::ios::binary) << "//pelkor file\n";
}

class NoDialogs : public pelkor::WorkspaceUi {
 public:
  std::optional<std::filesystem::path> ChooseFile(const pelkor::FileDialogSpec&) override {
    return std::nullopt;
  }
};

// Runs a poppler tool; its standard output.
QString Poppler(const QString& tool, const QStringList& arguments) {
  const QString program = QStandardPaths::findExecutable(tool);
  if (program.isEmpty())
    qFatal("%s (poppler-utils) is not installed", qPrintable(tool));
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

struct Word {
  QString text;
  QRectF box;  // in points
};

// Every word pdftotext finds on the pages, with its box.
QList<Word> WordsOf(const QString& pdf) {
  static const QRegularExpression word(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  QList<Word> words;
  for (const QRegularExpressionMatch& m :
       word.globalMatch(Poppler("pdftotext", {"-bbox", pdf, "-"}))) {
    const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
    const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
    words.append({m.captured(5), QRectF(topLeft, bottomRight)});
  }
  return words;
}

// The texts of a picture that hold nothing but digits: the run-time state it shows.
QStringList DigitTexts(const pelkor::DrawList& picture) {
  static const QRegularExpression digits("^[01]+$");
  QStringList texts;
  for (const pelkor::DrawOp& op : picture.ops) {
    const QString text = QString::fromStdString(op.text).trimmed();
    if (op.shape == pelkor::DrawShape::kText && digits.match(text).hasMatch())
      texts.append(text);
  }
  texts.sort();
  return texts;
}

int PageCount(const QString& pdf) {
  const QRegularExpression pages(R"(Pages:\s+(\d+))");
  return pages.match(Poppler("pdfinfo", {pdf})).captured(1).toInt();
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
    int pages = 0;
    {
      QPainter painter(&page);
      pages = pelkor::PaintPicturePages(painter, QSizeF(400, 600), picture, "adder", {},
                                        [] { return false; });
    }
    QCOMPARE(pages, 1);
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

  void theScaleDialogOffersOnePagePagesAcrossAndTheZoomLevels() {
    using pelkor::PrintFit;
    pelkor::PrintScaleDialog dialog({.fit = PrintFit::kPagesWide, .pagesWide = 3, .zoomLevel = 2});
    auto* pageCount = dialog.findChild<QSpinBox*>("pageCount");
    auto* zoomLevel = dialog.findChild<QComboBox*>("zoomLevel");
    QVERIFY(dialog.findChild<QRadioButton*>("pagesWide")->isChecked());
    QCOMPARE(pageCount->value(), 3);
    QVERIFY(pageCount->isEnabled() && !zoomLevel->isEnabled());
    QCOMPARE(zoomLevel->count(), 6);
    QCOMPARE(zoomLevel->itemText(0), QString("等倍"));
    QCOMPARE(zoomLevel->itemText(5), QString("1/32"));
    QCOMPARE(zoomLevel->currentIndex(), 2);

    dialog.findChild<QRadioButton*>("zoomed")->click();
    QVERIFY(!pageCount->isEnabled() && zoomLevel->isEnabled());
    zoomLevel->setCurrentIndex(1);
    QCOMPARE(dialog.scale(),
             (pelkor::PrintScale{.fit = PrintFit::kFullSize, .pagesWide = 3, .zoomLevel = 1}));
    dialog.findChild<QRadioButton*>("onePage")->click();
    QCOMPARE(dialog.scale().fit, PrintFit::kOnePage);
  }

  void printsToAPdfFileAndSaysWhenItCannot() {
    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("module.pdf"));
    QVERIFY(pelkor::PrintPicture(printer, OneRegisterPicture(), "adder", {}));
    QFile pdf(folder.filePath("module.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
    QVERIFY(pdf.size() > 1000);

    printer.setOutputFileName(folder.filePath("no such folder/module.pdf"));
    QVERIFY(!pelkor::PrintPicture(printer, OneRegisterPicture(), "adder", {}));
  }

  // A stepped design prints the tokens, the source bits left and the received values that the
  // view shows on the screen.
  void aSteppedModulePrintsItsRunTimeStateAsTheScreenShowsIt() {
    QTemporaryDir folder;
    NoDialogs ui;
    pelkor::Workspace workspace(ui);
    QVERIFY(workspace.OpenFile(PELKOR_EXAMPLES "/full_adder.dtn") == pelkor::OpenResult::kOpened);
    workspace.Check();
    for (int step = 0; step < 4; ++step)
      workspace.Step();
    workspace.ResizeView(2000, 2000);
    pelkor::Frame screen;
    workspace.PaintView(screen);
    const QStringList shown = DigitTexts(screen.picture);
    QVERIFY(shown.size() > 5);

    const pelkor::DrawList picture = workspace.PictureDrawing();
    QCOMPARE(DigitTexts(picture), shown);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = folder.filePath("stepped.pdf");
    printer.setOutputFileName(pdf);
    QVERIFY(pelkor::PrintPicture(printer, picture, "full_adder", {}));
    QStringList printed;
    for (const Word& word : WordsOf(pdf)) {
      if (QRegularExpression("^[01]+$").match(word.text).hasMatch())
        printed.append(word.text);
    }
    printed.sort();
    QCOMPARE(printed, shown);
  }

  // A module far wider than a page, printed at full size, runs across pages in reading order
  // with its labels as large as on screen; a landscape page takes more of it on each sheet.
  void aChainLargerThanAPagePrintsAcrossPagesAtFullSize() {
    QTemporaryDir folder;
    WriteChain(folder.path(), 300);
    NoDialogs ui;
    pelkor::Workspace workspace(ui);
    QVERIFY(workspace.OpenFile((folder.path() + "/chain.dtn").toStdString()) ==
            pelkor::OpenResult::kOpened);
    const pelkor::DrawList picture = workspace.PictureDrawing();
    const pelkor::PrintScale fullSize{.fit = pelkor::PrintFit::kFullSize};
    // At 96 picture pixels an inch, in points.
    const double labelWidth =
        QFontMetricsF(pelkor::ViewFont(picture.font)).horizontalAdvance("0110") * 72 / 96;
    const double pictureWidth = picture.width * 72.0 / 96;

    std::map<QPageLayout::Orientation, int> pageCounts;
    for (QPageLayout::Orientation orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
      QPrinter printer(QPrinter::HighResolution);
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setPageSize(QPageSize(QPageSize::A4));
      printer.setPageOrientation(orientation);
      const QString pdf = folder.filePath(QString("chain%1.pdf").arg(orientation));
      printer.setOutputFileName(pdf);
      QVERIFY(pelkor::PrintPicture(printer, picture, "chain", fullSize));

      // The pages across hold the picture, each repeating a strip of the one before.
      const double pageWidth = printer.pageRect(QPrinter::Point).width();
      const int pages = PageCount(pdf);
      pageCounts[orientation] = pages;
      QVERIFY2(pages >= std::ceil(pictureWidth / pageWidth), qPrintable(QString::number(pages)));
      QVERIFY2(pages <= std::ceil(pictureWidth / (pageWidth - 40)),
               qPrintable(QString::number(pages)));

      const QList<Word> words = WordsOf(pdf);
      const auto label =
          std::find_if(words.begin(), words.end(), [](const Word& w) { return w.text == "0110"; });
      QVERIFY(label != words.end());
      QVERIFY2(std::abs(label->box.width() - labelWidth) < labelWidth * 0.15,
               qPrintable(QString("%1 against %2").arg(label->box.width()).arg(labelWidth)));
      // The last page is named by its row and column.
      const QString last = QString::number(pages);
      QVERIFY(Poppler("pdftotext", {"-f", last, "-l", last, pdf, "-"})
                  .contains(QRegularExpression(R"(chain\s+1-)" + last + R"(\b)")));
    }
    QVERIFY(pageCounts[QPageLayout::Landscape] < pageCounts[QPageLayout::Portrait]);
  }
};

QTEST_MAIN(ModulePrintingTest)
#include "module_printing_test.moc"
