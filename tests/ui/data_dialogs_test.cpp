// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QtTest>

#include "dialog_driver.h"
#include "edit/simulation_locks.h"
#include "ui/dialogs/arc_port_dialog.h"
#include "ui/dialogs/counter_dialog.h"
#include "ui/dialogs/module_name_dialog.h"
#include "ui/dialogs/property_dialogs.h"
#include "ui/dialogs/shift_register_dialog.h"
#include "ui/dialogs/sink_dialog.h"
#include "ui/dialogs/source_dialog.h"

using namespace pelkor;
using namespace pelkor::testing;

namespace {

// Whether the user can change the control's value.
bool Changeable(QWidget* control) {
  if (auto* line = qobject_cast<QLineEdit*>(control))
    return !line->isReadOnly();
  if (auto* text = qobject_cast<QPlainTextEdit*>(control))
    return !text->isReadOnly();
  if (auto* spin = qobject_cast<QAbstractSpinBox*>(control))
    return !spin->isReadOnly();
  return control->isEnabled();
}

}  // namespace

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

  // Every value control of every property dialog, loaded while simulating and not: what a
  // running simulation cannot take is locked and says why; the rest stays as it was.
  void whileSimulatingEveryDialogLocksWhatTheRunCannotTakeAndSaysWhy() {
    struct Control {
      const char* name;
      DialogField field;
    };
    using F = DialogField;
    const std::vector<Control> registerControls = {{"contents", F::kRegisterContents},
                                                   {"sizeFixed", F::kRegisterSizeFixed},
                                                   {"left", F::kRegisterDirection},
                                                   {"right", F::kRegisterDirection}};
    const std::vector<Control> sourceControls = {{"data", F::kSourceData},
                                                 {"holdValue", F::kSourceHoldValue},
                                                 {"fromEnd", F::kSourceFromEnd},
                                                 {"hexDisplay", F::kSourceHexDisplay},
                                                 {"name", F::kSourceName}};
    const std::vector<Control> counterControls = {{"countText", F::kCounterText},
                                                  {"countNumber", F::kCounterNumber}};
    const std::vector<Control> sinkControls = {
        {"expected", F::kSinkExpected}, {"big", F::kSinkOutputMode},
        {"little", F::kSinkOutputMode}, {"discard", F::kSinkOutputMode},
        {"keep", F::kSinkOutputMode},   {"hexDisplay", F::kSinkHexDisplay},
        {"name", F::kSinkName}};
    ShiftRegister fixedRegister;
    fixedRegister.sizeFixed = true;  // its size edit is open outside a simulation
    for (const bool simulating : {true, false}) {
      ShiftRegisterDialog shiftRegister;
      shiftRegister.Load(fixedRegister, simulating);
      SourceDialog source;
      source.Load(SourceTransition{}, simulating);
      CounterDialog counter;
      counter.Load(Counter{}, simulating);
      SinkDialog sink;
      sink.Load(SinkTransition{}, simulating);
      const std::vector<std::pair<QDialog*, std::vector<Control>>> dialogs = {
          {&shiftRegister, registerControls},
          {&source, sourceControls},
          {&counter, counterControls},
          {&sink, sinkControls}};
      for (const auto& [dialog, controls] : dialogs) {
        for (const Control& c : controls) {
          QWidget* control = Find(dialog, c.name);
          const bool locked = simulating && !RunningSimulationTakes(c.field);
          QVERIFY2(Changeable(control) == !locked, c.name);
          QCOMPARE(control->toolTip(),
                   locked ? QString::fromUtf8(kLockedWhileSimulating) : QString());
        }
      }
      QCOMPARE(Changeable(Find(&shiftRegister, "size")), !simulating);
    }
    QVERIFY(RunningSimulationTakes(DialogField::kRegisterDirection));
    QVERIFY(!RunningSimulationTakes(DialogField::kSinkName));
  }

  // What the user does to a locked control changes nothing; the direction is taken.
  void whileSimulatingTypingIntoALockedControlChangesNothing() {
    SinkTransition sink;
    sink.name = "out";
    WhenModal([](QDialog* dialog) {
      QTest::keyClicks(Find(dialog, "name"), "x");
      QTest::keyClicks(Find(dialog, "expected"), "1");
      Click(dialog, "ok");
    });
    EditSink(nullptr, sink, true, {});
    QCOMPARE(sink.name, std::string("out"));
    QCOMPARE(sink.expected, std::string());

    ShiftRegister shiftRegister;
    shiftRegister.contents = "10";
    shiftRegister.direction = 2;
    WhenModal([](QDialog* dialog) {
      QTest::keyClicks(Find(dialog, "contents"), "1");
      Click(dialog, "left");
      Click(dialog, "ok");
    });
    EditShiftRegister(nullptr, shiftRegister, true);
    QCOMPARE(shiftRegister.direction, 0);
    QCOMPARE(shiftRegister.contents, std::string("10"));
  }

  // Every edit has a label naming it, and one the user cannot change looks so.
  void everyFieldIsLabelledAndTheReadOnlyOnesLookIt() {
    ShiftRegister fixedRegister;
    fixedRegister.sizeFixed = true;
    for (const bool simulating : {true, false}) {
      ShiftRegisterDialog shiftRegister;
      shiftRegister.Load(fixedRegister, simulating);
      SourceDialog source;
      source.Load(SourceTransition{}, simulating);
      CounterDialog counter;
      counter.Load(Counter{}, simulating);
      SinkDialog sink;
      sink.Load(SinkTransition{}, simulating);
      ArcPortDialog arc;
      ModuleNameDialog moduleName;
      for (QDialog* dialog : std::initializer_list<QDialog*>{&shiftRegister, &source, &counter,
                                                             &sink, &arc, &moduleName}) {
        QSet<QWidget*> labelled;
        for (QLabel* label : dialog->findChildren<QLabel*>())
          labelled.insert(label->buddy());
        QList<QWidget*> fields;
        for (QWidget* field : dialog->findChildren<QWidget*>()) {
          if (qobject_cast<QLineEdit*>(field) || qobject_cast<QPlainTextEdit*>(field) ||
              qobject_cast<QAbstractSpinBox*>(field)) {
            // A spin box's own line edit is labelled through the box.
            if (!qobject_cast<QAbstractSpinBox*>(field->parentWidget()))
              fields << field;
          }
        }
        QVERIFY(!fields.isEmpty());
        for (QWidget* field : fields) {
          QVERIFY2(labelled.contains(field), qPrintable(field->objectName()));
          const QPalette& palette = field->palette();
          QCOMPARE(palette.color(QPalette::Base) == palette.color(QPalette::Window),
                   !Changeable(field));
        }
      }
      QVERIFY(!Changeable(Find(&sink, "received")));
      QVERIFY(!Changeable(Find(&sink, "verdict")));
    }
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
