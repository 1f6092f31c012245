// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <climits>

#include "dialog_driver.h"
#include "ui/state_ex_dialog.h"
#include "ui/state_machine_dialog.h"

using namespace pelkor;

namespace {

// The arc-name dialog's answers.
class ArcNames : public EditorUi {
 public:
  std::optional<std::string> ChooseArcPort(const std::vector<std::string>& names,
                                           const std::string& preset) override {
    asked.push_back(names);
    return names.empty() ? preset : names.back();
  }
  std::vector<std::vector<std::string>> asked;
};

QAction* Tool(const StateMachineDialog& dialog, const char* name) {
  return dialog.findChild<QAction*>(name);
}

void Click(QWidget* surface, QPoint at) {
  QTest::mouseClick(surface, Qt::LeftButton, {}, at);
}

}  // namespace

class StateMachineDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void toolsCarryTheirTextsAndOneCheckMark() {
    ArcNames arcNames;
    StateMachineDialog dialog(StateMachine{}, arcNames);
    QCOMPARE(dialog.windowTitle(), QString("ステートマシン"));
    struct Expected {
      const char* name;
      QString text, toolTip;
      MachineTool tool;
    };
    for (const Expected& e :
         {Expected{"arcTool", "アーク", "接続", MachineTool::kArc},
          Expected{"stateTool", "ステート", "ステートマシン", MachineTool::kState},
          Expected{"eraserTool", "消しゴム", "消しゴム", MachineTool::kEraser}}) {
      QAction* action = Tool(dialog, e.name);
      QCOMPARE(action->text(), e.text);
      QCOMPARE(action->toolTip(), e.toolTip);
      QVERIFY(!action->icon().isNull());
      action->trigger();
      QCOMPARE(dialog.editor().tool(), e.tool);
      QVERIFY(action->isChecked());
    }
    QVERIFY(!Tool(dialog, "arcTool")->isChecked());
    QCOMPARE(dialog.findChild<QMenu*>("toolMenu")->title(), QString("ツール"));
  }

  void threeClicksWithTheStateToolDrawThreeStates() {
    ArcNames arcNames;
    StateMachine machine;
    StateMachineDialog dialog(machine, arcNames);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Tool(dialog, "stateTool")->trigger();
    QWidget* surface = dialog.surface();
    for (const QPoint at : {QPoint(60, 60), QPoint(160, 60), QPoint(260, 160)})
      Click(surface, at);

    const StateMachine& edited = dialog.editor().machine();
    QCOMPARE(edited.states.size(), std::size_t{3});
    QCOMPARE(edited.states.at(3).position, (Point{260, 160}));
    const QImage image = surface->grab().toImage();
    for (const QPoint outline : {QPoint(35, 60), QPoint(160, 85), QPoint(285, 160)}) {
      const QColor colour = image.pixelColor(outline);
      QVERIFY2(colour.blue() > 200 && colour.red() < 100, qPrintable(colour.name()));
    }
    QCOMPARE(image.pixelColor(45, 45), QColor(Qt::white));

    dialog.findChild<QPushButton*>("ok")->click();
    dialog.store(machine);
    QCOMPARE(machine.states.size(), std::size_t{3});
    QCOMPARE(machine.nextStateId, 4);
  }

  void theStateToolSaysWhenNoStateNumberIsLeft() {
    ArcNames arcNames;
    StateMachine machine;
    machine.states[INT_MAX].position = {260, 160};
    machine.nextStateId = INT_MAX;
    StateMachineDialog dialog(machine, arcNames);
    pelkor::testing::RecordedMessages messages;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Tool(dialog, "stateTool")->trigger();
    Click(dialog.surface(), {60, 60});
    QCOMPARE(messages.texts, QStringList{QString::fromUtf8(kNoStateIdLeft)});
    QCOMPARE(dialog.editor().machine().states.size(), std::size_t{1});
  }

  void arcsAskTheArcNameDialogForStatesWithTwoOutputs() {
    StateMachine machine;
    machine.states[1].position = {60, 60};
    machine.states[1].secondText.source = "go = a; stay = ~a;";
    machine.states[2].position = {200, 60};
    machine.Regenerate();
    machine.ResetNextIds();
    ArcNames arcNames;
    StateMachineDialog dialog(machine, arcNames);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Tool(dialog, "arcTool")->trigger();
    Click(dialog.surface(), {60, 60});
    Click(dialog.surface(), {200, 60});  // ends the arc after the double-click interval
    QTRY_COMPARE(arcNames.asked, (std::vector<std::vector<std::string>>{{"go", "stay"}}));
    QCOMPARE(dialog.editor().machine().stateArcs.at(1).name, std::string("stay"));
  }

  // With the arc tool a double-click opens the state dialog and draws no arc; a single press
  // ends the arc once no double-click can claim it; the arc is then picked on its line, deleted
  // with the Delete key and brought back with Ctrl+Z.
  void aStateArcIsDrawnByClicksNotDoubleClicksAndCanBeDeletedAndUndone() {
    StateMachine machine;
    machine.states[1].position = {60, 60};
    machine.states[2].position = {260, 60};
    machine.ResetNextIds();
    ArcNames arcNames;
    StateMachineDialog dialog(machine, arcNames);
    int stateDialogs = 0;
    dialog.setStateDialog([&](QWidget*, const StateDialogValues& values) {
      ++stateDialogs;
      return values;
    });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Tool(dialog, "arcTool")->trigger();
    Click(dialog.surface(), {60, 60});
    pelkor::testing::DoubleClick(dialog.surface(), {260, 60});
    QCOMPARE(stateDialogs, 1);
    const auto& arcs = dialog.editor().machine().stateArcs;
    QVERIFY(arcs.empty());
    QVERIFY(dialog.editor().arcInProgress());

    Click(dialog.surface(), {260, 60});
    QTRY_COMPARE(arcs.size(), std::size_t{1});
    Click(dialog.surface(), {160, 61});
    QCOMPARE(dialog.editor().selectedArc(), 1);
    QTest::keyClick(&dialog, Qt::Key_Delete);
    QVERIFY(arcs.empty());
    QTest::keyClick(&dialog, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(arcs.size(), std::size_t{1});
    QCOMPARE(dialog.findChild<QMenu*>("editMenu")->title(), QString("編集"));
  }

  void doubleClickEditsAStateThroughTheStateDialog() {
    StateMachine machine;
    machine.states[1].position = {60, 60};
    machine.ResetNextIds();
    ArcNames arcNames;
    StateMachineDialog dialog(machine, arcNames);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    pelkor::testing::WhenModal([](QDialog* state) {
      QCOMPARE(state->windowTitle(), QString("ステートマシン"));
      pelkor::testing::Find<QPlainTextEdit>(state, "secondText")
          ->setPlainText("go = a;\nstay = ~a;");
      pelkor::testing::Find<QCheckBox>(state, "mainBox")->setChecked(true);
      pelkor::testing::Find<QPushButton>(state, "ok")->click();
    });
    QTest::mouseDClick(dialog.surface(), Qt::LeftButton, {}, {60, 60});

    const StateMachine& edited = dialog.editor().machine();
    QCOMPARE(edited.states.at(1).secondText.source, std::string("go = a;\r\nstay = ~a;"));
    QCOMPARE(edited.states.at(1).arcNames.size(), std::size_t{2});
    QCOMPARE(edited.mainState, 1);
  }

  void cancelStoresTheMachineAsLoaded() {
    StateMachine machine;
    machine.states[1].position = {60, 60};
    machine.ResetNextIds();
    const StateMachine loaded = machine;
    ArcNames arcNames;
    StateMachineDialog dialog(machine, arcNames);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Tool(dialog, "eraserTool")->trigger();
    Click(dialog.surface(), {60, 60});
    QVERIFY(dialog.editor().machine().states.empty());
    dialog.findChild<QPushButton*>("cancel")->click();
    dialog.store(machine);
    QVERIFY(machine == loaded);
  }

  void surfaceAndButtonsFollowTheResizeRule() {
    ArcNames arcNames;
    StateMachineDialog dialog(StateMachine{}, arcNames);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (const QSize size : {QSize(500, 360), QSize(800, 600)}) {
      dialog.resize(size);
      QTest::qWait(0);
      auto* ok = dialog.findChild<QPushButton*>("ok");
      const QSize client = ok->parentWidget()->size();
      QCOMPARE(dialog.surface()->geometry(),
               QRect(10, 40, client.width() - 110, client.height() - 50));
      QCOMPARE(ok->pos(), QPoint(client.width() - 87, 40));
      QCOMPARE(dialog.findChild<QPushButton*>("cancel")->pos(), QPoint(client.width() - 87, 67));
      QCOMPARE(dialog.editor().hitMap().width(), client.width() - 110);
    }
  }

  void stateDialogRefusesTextsThatDoNotRegenerate() {
    StateExDialog dialog({"x = a;", "", false});
    pelkor::testing::RecordedMessages messages;
    dialog.show();
    auto* first = dialog.findChild<QPlainTextEdit*>("firstText");
    QCOMPARE(first->toPlainText(), QString("x = a;"));
    first->setPlainText("x = a b;");
    auto* ok = pelkor::testing::Find<QPushButton>(&dialog, "ok");
    ok->click();
    QCOMPARE(messages.texts, QStringList{"正規化：セミコロンが無い"});
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.values(), (StateDialogValues{"x = a;", "", false}));

    first->setPlainText("x = a;\ny = b;");
    dialog.findChild<QCheckBox*>("mainBox")->setChecked(true);
    ok->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.values(), (StateDialogValues{"x = a;\r\ny = b;", "", true}));
  }
};

QTEST_MAIN(StateMachineDialogTest)
#include "state_machine_dialog_test.moc"
