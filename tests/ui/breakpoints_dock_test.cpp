// SPDX-License-Identifier: GPL-3.0-or-later
// The breakpoint entry of an object's context menu and the "ブレークポイント" dock.
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "ui/breakpoints_dock.h"
#include "ui/main_window.h"
#include "ui/view_widget.h"
#include "workspace/workspace.h"

using pelkor::CommandId;

namespace {

constexpr int kDividerCounter = 3;
constexpr int kDividerSink = 5;

}  // namespace

class BreakpointsDockTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    window_ = std::make_unique<pelkor::MainWindow>(
        std::filesystem::path(folder_.path().toStdString()) / "pelkor.ini");
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    window_->OpenDesign(std::filesystem::path(PELKOR_EXAMPLES) / "counter_divider.dtn");
    // The hit map comes with the first paint of the design.
    window_->view()->viewport()->repaint();
  }
  void cleanup() { window_.reset(); }

  // A right-click on an object offers "ブレークポイント", which sets its kind's breakpoint;
  // the dock, opened from its action, lists it.
  void theContextMenuSetsABreakpoint() {
    for (const int id : {kDividerSink, kDividerCounter}) {
      const pelkor::Point* position = workspace().library().currentModule().PositionOf(id);
      const pelkor::Point at = workspace().view().viewport().ToScreen(*position);
      QStringList offered;
      QTimer answer;
      connect(&answer, &QTimer::timeout, this, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
          return;
        answer.stop();
        for (QAction* action : menu->actions()) {
          offered << action->text();
          if (action->text() == "ブレークポイント")
            menu->setActiveAction(action);
        }
        // A menu without the entry closes, and the test fails below.
        QTest::keyClick(menu, menu->activeAction() != nullptr ? Qt::Key_Return : Qt::Key_Escape);
      });
      answer.start(10);
      QTest::mouseClick(window_->view()->viewport(), Qt::RightButton, {}, QPoint(at.x, at.y));
      QVERIFY(offered.contains("ブレークポイント"));
    }
    QCOMPARE(workspace().breakpoints().items().size(), std::size_t{2});
    window_->Execute(CommandId::kBreakpointsDock);
    QVERIFY(window_->action(CommandId::kBreakpointsDock)->isChecked());
    QTreeWidget* list = window_->breakpointsDock()->list();
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(0)->text(0), QString("counter_divider（すべて） カウンタ3"));
  }

  // Each control of a row changes its breakpoint in the workspace, and the rows follow.
  void theRowsEnableChangeAndDeleteTheirBreakpoints() {
    pelkor::BreakpointList breakpoints;
    breakpoints.Add(
        {"counter_divider", kDividerCounter, pelkor::BreakEvent::kFire, 0, std::nullopt, true});
    breakpoints.Add(
        {"counter_divider", kDividerSink, pelkor::BreakEvent::kReceive, 0, std::nullopt, true});
    workspace().SetBreakpoints(breakpoints);
    window_->Execute(CommandId::kBreakpointsDock);
    QTreeWidget* list = window_->breakpointsDock()->list();
    QCOMPARE(list->topLevelItemCount(), 2);

    list->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    QTRY_VERIFY(!workspace().breakpoints().items()[0].enabled);
    auto* events = list->findChild<QComboBox*>("breakpointEvent1");
    QCOMPARE(events->count(), 3);
    events->setCurrentText("receive=1");
    QTRY_COMPARE(workspace().breakpoints().items()[1].event, pelkor::BreakEvent::kReceive1);
    list->findChild<QPushButton*>("breakpointDelete0")->click();
    QTRY_COMPARE(list->topLevelItemCount(), 1);
    QCOMPARE(workspace().breakpoints().items()[0].objectId, kDividerSink);

    // The breakpoint left pauses the run.
    workspace().Check();
    QCOMPARE(workspace().RunWithoutAnimation().end, pelkor::RunEnd::kBreakpoint);
    QCOMPARE(workspace().session().breakpointHit()->breakpoint.objectId, kDividerSink);
  }

 private:
  pelkor::Workspace& workspace() { return window_->workspace(); }

  QTemporaryDir folder_;
  std::unique_ptr<pelkor::MainWindow> window_;
};

QTEST_MAIN(BreakpointsDockTest)
#include "breakpoints_dock_test.moc"
