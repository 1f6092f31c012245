// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QtTest>

#include "dialog_driver.h"
#include "ui/dialogs/arc_port_dialog.h"
#include "ui/dialogs/counter_dialog.h"
#include "ui/dialogs/property_dialogs.h"

using namespace pelkor;
using namespace pelkor::testing;

class ChoiceDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void counterShowsTheRegenerateMessageAndStaysOpen() {
    RecordedMessages messages;
    Counter record;
    record.countText.source = "x = a;";
    record.Regenerate();
    const Counter before = record;
    CounterDialog dialog;
    dialog.Load(record, false);
    dialog.show();
    Find<QPlainTextEdit>(&dialog, "countText")->setPlainText("a b = c;");
    Click(&dialog, "ok");
    QCOMPARE(messages.texts, QStringList{QStringLiteral("正規化：演算子がありません")});
    QVERIFY(dialog.isVisible());
    Click(&dialog, "cancel");
    dialog.Store(record);
    QCOMPARE(record, before);
  }

  void counterOkTakesTheTextWithItsLogicAndTheNumber() {
    Counter record;
    CounterDialog dialog;
    dialog.Load(record, false);
    dialog.show();
    Find<QPlainTextEdit>(&dialog, "countText")->setPlainText("x = a;\ny = b;");
    Find<QSpinBox>(&dialog, "countNumber")->setValue(7);
    Click(&dialog, "ok");
    QVERIFY(!dialog.isVisible());
    dialog.Store(record);
    QCOMPARE(record.countText.source, std::string("x = a;\r\ny = b;"));
    QCOMPARE(record.countText.inputs.size(), std::size_t{2});
    QCOMPARE(record.countNumber, 7);
  }

  void counterNumberStaysInOneTo128() {
    const struct {
      int loaded;
      const char* typed;
      int stored;
    } cases[] = {
        {5, "500", 128},
        {5, "0", 1},
        {5, "64", 64},
        {300, nullptr, 128},
    };
    for (const auto& c : cases) {
      Counter record;
      record.countNumber = c.loaded;
      CounterDialog dialog;
      dialog.Load(record, false);
      dialog.show();
      auto* number = Find<QSpinBox>(&dialog, "countNumber");
      if (c.typed) {
        number->selectAll();
        QTest::keyClicks(number, c.typed);
      }
      Click(&dialog, "ok");
      dialog.Store(record);
      QCOMPARE(record.countNumber, c.stored);
    }
  }

  void arcListIsSortedAndDoubleClickCopiesIntoTheEdit() {
    ArcPortDialog dialog;
    dialog.Fill({"b", "c", "a"});
    dialog.Preset("");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* names = Find<QListWidget>(&dialog, "names");
    QStringList shown;
    for (int row = 0; row < names->count(); ++row)
      shown << names->item(row)->text();
    QCOMPARE(shown, (QStringList{"a", "b", "c"}));
    QListWidgetItem* b = names->item(1);
    const QPoint onB = names->visualItemRect(b).center();
    QTest::mouseClick(names->viewport(), Qt::LeftButton, {}, onB);
    QTest::mouseDClick(names->viewport(), Qt::LeftButton, {}, onB);
    QCOMPARE(Find<QLineEdit>(&dialog, "name")->text(), QString("b"));
  }

  void arcOkTakesAnyTextAndCancelGivesNothing() {
    const struct {
      std::string preset;
      const char* button;
      std::optional<std::string> chosen;
    } cases[] = {
        {"", "cancel", std::nullopt},
        {"x", "cancel", std::nullopt},
        {"x", "ok", "not listed"},
    };
    for (const auto& c : cases) {
      WhenModal([&c](QDialog* dialog) {
        Find<QLineEdit>(dialog, "name")->setText("not listed");
        Click(dialog, c.button);
      });
      QCOMPARE(ChooseArcPort(nullptr, {"a"}, c.preset), c.chosen);
    }
  }

  void moduleNameOpensEmptyAndCancelGivesNothing() {
    WhenModal([](QDialog* dialog) {
      auto* name = Find<QLineEdit>(dialog, "name");
      QVERIFY(name->text().isEmpty());
      QTest::keyClicks(name, " adder");
      Click(dialog, "ok");
    });
    QCOMPARE(AskModuleName(nullptr), std::optional<std::string>(" adder"));
    WhenModal([](QDialog* dialog) {
      QTest::keyClicks(Find(dialog, "name"), "adder");
      Click(dialog, "cancel");
    });
    QCOMPARE(AskModuleName(nullptr), std::nullopt);
  }
};

QTEST_MAIN(ChoiceDialogsTest)
#include "choice_dialogs_test.moc"
