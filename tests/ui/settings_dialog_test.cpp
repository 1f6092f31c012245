// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractSpinBox>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "dialog_driver.h"
#include "files/settings.h"
#include "ui/settings_dialog.h"

using namespace pelkor;
using pelkor::testing::RecordedMessages;

namespace {

// A settings dialog on screen whose message boxes and font dialog answer from the test.
struct Sheet {
  explicit Sheet(const Settings& settings) : dialog(settings) {
    // A font dialog that shows exactly the font it is opened at.
    dialog.setFontChooser(
        [this](QWidget*, const QFont& initial) -> std::optional<SettingsDialog::FontAnswer> {
          if (!fontAnswer)
            return std::nullopt;
          return SettingsDialog::FontAnswer{initial, *fontAnswer};
        });
    dialog.show();
  }
  template <typename T>
  T* Find(const char* name) {
    return pelkor::testing::Find<T>(&dialog, name);
  }
  void Press(const char* button) { Find<QPushButton>(button)->click(); }
  void Type(const char* edit, const QString& text) {
    QWidget* widget = Find<QWidget>(edit);
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(widget, text);
  }

  SettingsDialog dialog;
  RecordedMessages messages;
  std::optional<QFont> fontAnswer;
};

constexpr int kBackgroundRow = 9;

// Runs `act` on the real font dialog the settings dialog opens next.
void WhenFontDialogOpens(std::function<void(QFontDialog*)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
    if (!dialog)
      qFatal("no font dialog open");
    act(dialog);
  });
}

}  // namespace

class SettingsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void showsBothPagesWithTheirControls() {
    Settings settings;
    settings.shiftLine = 2;
    settings.timer = 75;
    Sheet sheet(settings);
    QCOMPARE(sheet.dialog.windowTitle(), QString("プロパティシート"));
    auto* pages = sheet.Find<QTabWidget>("pages");
    QCOMPARE(pages->tabText(0), QString("その１"));
    QCOMPARE(pages->tabText(1), QString("その２"));
    auto* list = sheet.Find<QListWidget>("objectList");
    QCOMPARE(list->count(), 11);
    QCOMPARE(list->item(2)->text(), QString("スイッチ"));
    QCOMPARE(list->currentRow(), 0);
    // The first entry, the shift registers, is R 50, G 255, B 125.
    QCOMPARE(sheet.Find<QSlider>("greenSlider")->value(), 255);
    QCOMPARE(sheet.Find<QLineEdit>("blueEdit")->text(), QString("125"));
    QCOMPARE(sheet.Find<QAbstractSpinBox>("gridSizeEdit")->text(), QString("40"));
    QCOMPARE(sheet.Find<QLineEdit>("speedEdit")->text(), QString("75"));
    QVERIFY(sheet.Find<QRadioButton>("rightRadio")->isChecked());
  }

  void okHandsBackSlidersSpeedDirectionAndASavedBackground() {
    Sheet sheet{Settings{}};
    sheet.Find<QListWidget>("objectList")->setCurrentRow(kBackgroundRow);
    QCOMPARE(sheet.Find<QSlider>("redSlider")->value(), 255);
    sheet.Find<QSlider>("redSlider")->setValue(10);
    QCOMPARE(sheet.Find<QLineEdit>("redEdit")->text(), QString("10"));
    QCOMPARE(sheet.Find<QWidget>("colourSample")->palette().color(QPalette::Window),
             QColor(10, 255, 255));
    sheet.Find<QTabWidget>("pages")->setCurrentIndex(1);
    sheet.Type("speedEdit", "200");
    sheet.Find<QRadioButton>("leftRadio")->click();
    sheet.Press("ok");
    QCOMPARE(sheet.dialog.result(), int(QDialog::Accepted));

    Settings view;
    ApplySheet(sheet.dialog.sheet(), view);
    QCOMPARE(view.colours.at(12), Rgb(10, 255, 255));
    QCOMPARE(view.timer, 200);
    QCOMPARE(view.shiftLine, 0);
    QTemporaryDir folder;
    const std::filesystem::path file = folder.filePath("pelkor.ini").toStdString();
    QCOMPARE(SaveSettings(file, view), SaveResult::kSaved);
    QCOMPARE(LoadSettings(file).colours.at(12), Rgb(10, 255, 255));
  }

  void cancelClosesWithoutAcceptingWhateverChanged() {
    Sheet sheet{Settings{}};
    sheet.Find<QSlider>("blueSlider")->setValue(0);
    sheet.fontAnswer = QFont("IPAPGothic", 20);
    sheet.Find<QPushButton>("fontButton")->click();
    sheet.Type("gridSizeEdit", "300");  // not even checked on Cancel
    sheet.Press("cancel");
    QCOMPARE(sheet.dialog.result(), int(QDialog::Rejected));
    QVERIFY(sheet.messages.texts.isEmpty());
  }

  void outOfRangeNumbersKeepTheirPageUntilCorrected() {
    Sheet sheet{Settings{}};
    sheet.Type("redEdit", "300");
    // The slider follows the number typed while it is in range: "3", "30", not "300".
    QCOMPARE(sheet.Find<QSlider>("redSlider")->value(), 30);
    sheet.Press("ok");
    QCOMPARE(sheet.messages.texts, QStringList{"0から255までの整数を入力してください"});
    QVERIFY(sheet.dialog.isVisible());
    QCOMPARE(sheet.dialog.focusWidget(), sheet.Find<QWidget>("redEdit"));

    auto* pages = sheet.Find<QTabWidget>("pages");
    pages->setCurrentIndex(1);  // the page cannot be left either
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(sheet.messages.texts.size(), 2);

    sheet.Type("redEdit", "200");  // a typed number moves the slider, and the colour with it
    QCOMPARE(sheet.Find<QSlider>("redSlider")->value(), 200);
    sheet.Type("gridSizeEdit", "101");
    sheet.Press("ok");
    QCOMPARE(sheet.messages.texts.last(), QString("0から100までの整数を入力してください"));
    sheet.Type("gridSizeEdit", "0");
    pages->setCurrentIndex(1);
    QCOMPARE(pages->currentIndex(), 1);
    sheet.Type("speedEdit", "100000");
    pages->setCurrentIndex(0);
    QCOMPARE(pages->currentIndex(), 1);
    QCOMPARE(sheet.messages.texts.last(), QString("0から99999までの整数を入力してください"));
    sheet.Type("speedEdit", "99999");
    sheet.Press("ok");
    QCOMPARE(sheet.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(sheet.dialog.sheet().gridSize, 0);
    QCOMPARE(sheet.dialog.sheet().timer, 99999);
    QCOMPARE(sheet.dialog.sheet().colours.at(2), Rgb(200, 255, 125));
  }

  // A colour number out of range is refused as it is typed; slider and sample keep the last
  // number in range.
  void aColourNumberOutOfRangeIsRefusedAtOnce() {
    Sheet sheet{Settings{}};
    auto* refusal = sheet.Find<QLabel>("channelRefusal");
    QVERIFY(refusal->isHidden());
    for (const char* typed : {"300", "-1", "x"}) {
      sheet.Type("redEdit", "7");
      sheet.Type("redEdit", typed);
      QVERIFY2(!refusal->isHidden(), typed);
      QCOMPARE(refusal->text(), QString("0から255までの整数を入力してください"));
      const int red = sheet.Find<QSlider>("redSlider")->value();
      QVERIFY2(red != 44, typed);
      QCOMPARE(sheet.Find<QWidget>("colourSample")->palette().color(QPalette::Window).red(), red);
      QCOMPARE(SplitColour(sheet.dialog.sheet().colours.at(2)).red, red);
    }
    sheet.Type("redEdit", "25");
    QVERIFY(refusal->isHidden());
    QCOMPARE(sheet.Find<QSlider>("redSlider")->value(), 25);
  }

  void gridArrowsRunFromOneTo128() {
    Sheet sheet{Settings{}};
    auto* grid = sheet.Find<QAbstractSpinBox>("gridSizeEdit");
    grid->stepUp();
    QCOMPARE(grid->text(), QString("41"));
    sheet.Type("gridSizeEdit", "128");
    grid->stepUp();
    QCOMPARE(grid->text(), QString("128"));
  }

  void defaultsRestoreColoursGridAndFont() {
    Settings settings;
    settings.gridSize = 12;
    settings.colours[12] = Rgb(0, 0, 0);
    settings.font.faceName = "IPAPGothic";
    settings.timer = 300;
    Sheet sheet(settings);
    sheet.Find<QListWidget>("objectList")->setCurrentRow(kBackgroundRow);
    sheet.Find<QPushButton>("defaultButton")->click();
    QCOMPARE(sheet.Find<QAbstractSpinBox>("gridSizeEdit")->text(), QString("40"));
    QCOMPARE(sheet.Find<QSlider>("greenSlider")->value(), 255);
    sheet.Press("ok");
    Settings expected;
    expected.timer = 300;
    QVERIFY(sheet.dialog.sheet() == expected);
  }

  // The real font dialog, opened at the bold italic default in a face this system lacks: OK
  // keeps every FONT key, and a new size changes the height alone.
  void theFontDialogStartsFromTheSheetsFont() {
    for (const bool changeSize : {false, true}) {
      Settings settings;
      settings.font.underline = 1;
      SettingsDialog dialog(settings);
      dialog.show();
      QFont shown;
      WhenFontDialogOpens([&](QFontDialog* fonts) {
        shown = fonts->currentFont();
        if (changeSize) {
          QFont bigger = shown;
          bigger.setPointSize(shown.pointSize() + 4);
          fonts->setCurrentFont(bigger);
        }
        fonts->accept();
      });
      pelkor::testing::Find<QPushButton>(&dialog, "fontButton")->click();
      QVERIFY(shown.bold() && shown.italic() && shown.underline());
      LogFont expected = settings.font;
      if (changeSize) {
        QVERIFY(dialog.sheet().font.height > settings.font.height);
        expected.height = dialog.sheet().font.height;
      }
      QVERIFY(dialog.sheet().font == expected);
    }
  }

  void fontDialogChangesTheFontOnlyWhenConfirmed() {
    Sheet sheet{Settings{}};
    sheet.Find<QPushButton>("fontButton")->click();  // cancelled
    QVERIFY(sheet.dialog.sheet().font == LogFont{});
    QFont chosen("IPAPGothic");
    chosen.setPointSize(15);
    chosen.setWeight(QFont::Normal);
    chosen.setItalic(false);
    chosen.setUnderline(true);
    sheet.fontAnswer = chosen;
    sheet.Find<QPushButton>("fontButton")->click();
    const LogFont& font = sheet.dialog.sheet().font;
    QCOMPARE(font.faceName, std::string("IPAPGothic"));
    QCOMPARE(font.height, 20);
    QCOMPARE(font.weight, 400);
    QCOMPARE(font.italic, std::uint8_t{0});
    QCOMPARE(font.underline, std::uint8_t{1});
    QCOMPARE(font.charSet, std::uint8_t{128});  // what Qt has no notion of stays
  }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
