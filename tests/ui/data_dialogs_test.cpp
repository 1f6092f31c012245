// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QtTest>

#include "dialog_driver.h"
#include "ui/dialogs/property_dialogs.h"
#include "ui/dialogs/shift_register_dialog.h"
#include "ui/dialogs/sink_dialog.h"
#include "ui/dialogs/source_dialog.h"

using namespace pelkor;
using namespace pelkor::testing;

class DataDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void shiftRegisterTakesOnlyBitTexts() {
    const struct {
      QString text;
      bool accepted;
      std::string stored;
    } cases[] = {
        {"01 1", false, "11"},
        {"012", false, "11"},
        {"01\n10", true, "01\r\n10"},
        {"", true, ""},
    };
    for (const auto& c : cases) {
      RecordedMessages messages;
      ShiftRegisterDialog dialog;
      ShiftRegister record;
      record.contents = "11";
      dialog.Load(record, false);
      dialog.show();
      Find<QPlainTextEdit>(&dialog, "contents")->setPlainText(c.text);
      Click(&dialog, "ok");
      QCOMPARE(dialog.isVisible(), !c.accepted);
      QCOMPARE(messages.texts, c.accepted ? QStringList() : QStringList{kWrongValue});
      if (!c.accepted)
        Click(&dialog, "cancel");
      dialog.Store(record);
      QCOMPARE(record.contents, c.stored);
    }
  }

  void shiftRegisterContentsEditTakesOnlyTypedDigitsAndEnter() {
    ShiftRegisterDialog dialog;
    dialog.Load(ShiftRegister{}, false);
    auto* contents = Find<QPlainTextEdit>(&dialog, "contents");
    QTest::keyClicks(contents, "0a1 ");
    QTest::keyClick(contents, Qt::Key_Return);
    QTest::keyClicks(contents, "1-0");
    QCOMPARE(contents->toPlainText(), QString("01\n10"));
  }

  void shiftRegisterSizeFixedFollowsTheBoxAndSurvivesCancel() {
    ShiftRegister record;
    record.contents = "01";
    record.size = 5;
    record.direction = 0;
    ShiftRegisterDialog dialog;
    dialog.Load(record, false);
    dialog.show();
    auto* size = Find<QLineEdit>(&dialog, "size");
    QCOMPARE(size->text(), QString("5"));
    QVERIFY(size->isReadOnly());
    Click(&dialog, "sizeFixed");
    QVERIFY(!size->isReadOnly());
    size->setText("9");
    Click(&dialog, "right");
    Click(&dialog, "cancel");
    dialog.Store(record);
    QVERIFY(record.sizeFixed);
    QCOMPARE(record.size, 5);
    QCOMPARE(record.direction, 0);
    QCOMPARE(record.contents, std::string("01"));
  }

  void shiftRegisterOkTakesSizeValueAndDirection() {
    const struct {
      int direction;
      const char* checked;
      const char* click;
      QString sizeText;
      int storedDirection;
      int storedSize;
    } cases[] = {
        {1, "right", "left", "12", 0, 12},  // a new register shows right
        {0, "left", "right", "", 2, 0},
        {2, "right", "right", "0070", 2, 70},
    };
    for (const auto& c : cases) {
      ShiftRegister record;
      record.sizeFixed = true;
      record.direction = c.direction;
      ShiftRegisterDialog dialog;
      dialog.Load(record, false);
      dialog.show();
      QVERIFY(Find<QRadioButton>(&dialog, c.checked)->isChecked());
      Find<QLineEdit>(&dialog, "size")->setText(c.sizeText);
      Click(&dialog, c.click);
      Click(&dialog, "ok");
      dialog.Store(record);
      QCOMPARE(record.direction, c.storedDirection);
      QCOMPARE(record.size, c.storedSize);
    }
  }

  void shiftRegisterLocksDataButNotDirectionWhileSimulating() {
    ShiftRegister record;
    record.contents = "10";
    record.direction = 2;
    ShiftRegisterDialog dialog;
    dialog.Load(record, true);
    dialog.show();
    QVERIFY(Find<QPlainTextEdit>(&dialog, "contents")->isReadOnly());
    QVERIFY(Find<QLineEdit>(&dialog, "size")->isReadOnly());
    QVERIFY(!Find(&dialog, "sizeFixed")->isEnabled());
    QTest::keyClicks(Find(&dialog, "contents"), "1");
    Click(&dialog, "left");
    Click(&dialog, "ok");
    QVERIFY(!dialog.isVisible());
    dialog.Store(record);
    QCOMPARE(record.direction, 0);
    QCOMPARE(record.contents, std::string("10"));
  }

  void sourceValidatesWithHexadecimalEntryAsTheBoxStandsAtOk() {
    const struct {
      bool hex;
      const char* typed;
      QString shown;
      bool accepted;
    } cases[] = {
        {true, "1f", "1F", true},
        {true, "1g", "1G", false},
        {false, "1f", "1F", false},
        {false, "10", "10", true},
    };
    for (const auto& c : cases) {
      RecordedMessages messages;
      SourceDialog dialog;
      SourceTransition record;
      record.data = "0";
      dialog.Load(record, false);
      dialog.show();
      if (c.hex)
        Click(&dialog, "hexDisplay");
      auto* data = Find<QPlainTextEdit>(&dialog, "data");
      data->clear();
      QTest::keyClicks(data, c.typed);
      QCOMPARE(data->toPlainText(), c.shown);
      Click(&dialog, "ok");
      QCOMPARE(messages.texts, c.accepted ? QStringList() : QStringList{kWrongValue});
      if (!c.accepted)
        Click(&dialog, "cancel");
      dialog.Store(record);
      QCOMPARE(record.data, c.accepted ? c.shown.toStdString() : std::string("0"));
      QCOMPARE(record.hexDisplay, c.accepted && c.hex);
    }
  }

  void sourceCancelKeepsTheRecord() {
    SourceTransition record;
    record.name = "in";
    record.data = "1";
    record.fromEnd = true;
    const SourceTransition before = record;
    WhenModal([](QDialog* dialog) {
      Find<QPlainTextEdit>(dialog, "data")->setPlainText("0101");
      Click(dialog, "holdValue");
      Click(dialog, "fromEnd");
      Find<QLineEdit>(dialog, "name")->setText("out");
      Click(dialog, "cancel");
    });
    EditSource(nullptr, record, false);
    QCOMPARE(record, before);
  }

  void sourceDuringSimulationStoresOnlyTheTrimmedName() {
    SourceTransition record;
    record.data = "11";
    WhenModal([](QDialog* dialog) {
      QVERIFY(Find<QPlainTextEdit>(dialog, "data")->isReadOnly());
      for (const char* box : {"holdValue", "fromEnd", "hexDisplay"})
        QVERIFY(!Find(dialog, box)->isEnabled());
      QVERIFY(!Find<QLineEdit>(dialog, "name")->isReadOnly());
      QTest::keyClicks(Find(dialog, "data"), "0");
      Find<QLineEdit>(dialog, "name")->setText("  new \t");
      Click(dialog, "ok");
    });
    EditSource(nullptr, record, true);
    QCOMPARE(record.name, std::string("new"));
    QCOMPARE(record.data, std::string("11"));
  }

  void sinkShowsAnUnknownModeAsBigAndStoresIt() {
    SinkTransition record;
    record.outputMode = 7;
    SinkDialog dialog;
    dialog.Load(record, false);
    QVERIFY(Find<QRadioButton>(&dialog, "big")->isChecked());
    dialog.reject();
    dialog.Store(record);
    QCOMPARE(record.outputMode, 0);
  }

  void sinkDisplaysReceivedValuesByModeAndHexadecimal() {
    const struct {
      std::string received;
      int mode;
      bool hex;
      QString shown;
    } cases[] = {
        {"00011010", 0, true, "1A"},
        {"00011010", 1, true, "58"},
        {"10110", 0, true, "10110"},
        {"00011010", 2, true, ""},
        {std::string(17, '1'), 0, false, QString(16, '1') + "\n1"},
    };
    for (const auto& c : cases) {
      SinkTransition record;
      record.outputMode = c.mode;
      record.hexDisplay = c.hex;
      std::vector<int> values;
      for (const char digit : c.received)
        values.push_back(digit - '0');
      SinkDialog dialog;
      dialog.Load(record, false, values);
      auto* received = Find<QPlainTextEdit>(&dialog, "received");
      QVERIFY(received->isReadOnly());
      QCOMPARE(received->toPlainText(), c.shown);
    }
  }

  void sinkOkTakesModeHexAndUpperCaseExpectedValues() {
    RecordedMessages messages;
    SinkTransition record;
    SinkDialog dialog;
    dialog.Load(record, false);
    dialog.show();
    auto* expected = Find<QPlainTextEdit>(&dialog, "expected");
    QTest::keyClicks(expected, "a");
    QCOMPARE(expected->toPlainText(), QString("A"));
    Click(&dialog, "little");
    Click(&dialog, "ok");
    QCOMPARE(messages.texts, QStringList{kWrongValue});
    Click(&dialog, "hexDisplay");
    Click(&dialog, "ok");
    QVERIFY(!dialog.isVisible());
    dialog.Store(record);
    QCOMPARE(record.expected, std::string("A"));
    QCOMPARE(record.outputMode, 1);
    QVERIFY(record.hexDisplay);
  }

  void sinkLocksValuesButNotTheNameWhileSimulating() {
    SinkTransition record;
    record.expected = "10";
    record.outputMode = 2;
    WhenModal([](QDialog* dialog) {
      for (const char* button : {"big", "little", "discard", "keep", "hexDisplay"})
        QVERIFY(!Find(dialog, button)->isEnabled());
      for (const char* edit : {"received", "expected"})
        QVERIFY(Find<QPlainTextEdit>(dialog, edit)->isReadOnly());
      QVERIFY(Find<QLineEdit>(dialog, "verdict")->isReadOnly());
      QVERIFY(Find<QLineEdit>(dialog, "verdict")->text().isEmpty());
      Find<QLineEdit>(dialog, "name")->setText(" out ");
      Click(dialog, "ok");
    });
    EditSink(nullptr, record, true, {});
    QCOMPARE(record.name, std::string("out"));
    QCOMPARE(record.expected, std::string("10"));
    QCOMPARE(record.outputMode, 2);
  }

  void sinkVerdictCanBeFilledIn() {
    SinkDialog dialog;
    dialog.Load(SinkTransition{}, false);
    dialog.SetVerdict("OK");
    QCOMPARE(Find<QLineEdit>(&dialog, "verdict")->text(), QString("OK"));
  }
};

QTEST_MAIN(DataDialogsTest)
#include "data_dialogs_test.moc"
