// SPDX-License-Identifier: GPL-3.0-or-later
// The view widget inside the main window, driven with synthesized mouse, wheel and keys.
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include "dialog_driver.h"
#include "support/workspace_probe.h"
#include "ui/main_window.h"
#include "ui/view_widget.h"
#include "view/view_navigation.h"

using pelkor::CommandId;

class ViewWidgetTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder_;
  std::unique_ptr<pelkor::MainWindow> window_;
  pelkor::ViewWidget* view() { return window_->view(); }
  pelkor::Workspace& workspace() { return window_->workspace(); }

 private slots:
  void init() {
    window_ = std::make_unique<pelkor::MainWindow>(
        std::filesystem::path(folder_.path().toStdString()) / "pelkor.ini");
    window_->resize(700, 500);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanup() { window_.reset(); }

  void aClickWithARegisterToolPlacesOneWhereItIsDrawn() {
    window_->Execute(CommandId::kShiftRegisterTool);
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, QPoint(100, 100));
    const auto& registers = pelkor::testing::LibraryOf(workspace()).currentModule().shiftRegisters;
    QCOMPARE(registers.size(), std::size_t{1});
    view()->viewport()->repaint();
    // The box's outline is drawn around the clicked cell, in the register's colour.
    const QColor outline = view()->backBuffer().pixelColor(100, 87);
    QVERIFY2(outline.saturation() > 100, qPrintable(outline.name()));
    QCOMPARE(window_->findChild<QLabel*>("objectPane")->text(), QString("OBJ=1"));

    // The eraser removes it again; undo brings it back.
    window_->Execute(CommandId::kEraserTool);
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, QPoint(100, 100));
    QVERIFY(registers.empty());
    window_->Execute(CommandId::kUndo);
    QCOMPARE(pelkor::testing::LibraryOf(workspace()).currentModule().shiftRegisters.size(),
             std::size_t{1});
  }

  // With the arc tool, a double-click opens the counter's dialog and draws no arc; a single
  // press on the counter still ends the arc once no double-click can claim it.
  void aDoubleClickWithTheArcToolOpensPropertiesAndDrawsNoArc() {
    window_->Execute(CommandId::kShiftRegisterTool);
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, QPoint(100, 100));
    window_->Execute(CommandId::kCounterTool);
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, QPoint(300, 100));
    window_->Execute(CommandId::kArcTool);
    view()->viewport()->repaint();
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, QPoint(100, 100));
    QVERIFY(workspace().interaction().arcInProgress);

    QString opened;
    pelkor::testing::WhenModal([&](QDialog* dialog) {
      opened = dialog->windowTitle();
      dialog->reject();
    });
    pelkor::testing::DoubleClick(view()->viewport(), QPoint(300, 100));
    QCOMPARE(opened, QString("カウンタ"));
    const auto& arcs = pelkor::testing::LibraryOf(workspace()).currentModule().arcs;
    QVERIFY(arcs.empty());
    QVERIFY(workspace().interaction().arcInProgress);

    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, QPoint(300, 100));
    QVERIFY(arcs.empty());  // held for the double-click interval
    QTRY_COMPARE(arcs.size(), std::size_t{1});
    QVERIFY(!workspace().interaction().arcInProgress);
  }

  void theArrowKeysScrollAndTheWheelZooms() {
    const pelkor::Point origin = pelkor::testing::ViewOf(workspace()).baseOrigin;
    view()->setFocus();
    QTest::keyClick(view(), Qt::Key_Right);
    QVERIFY(pelkor::testing::ViewOf(workspace()).baseOrigin != origin);
    QCOMPARE(view()->horizontalScrollBar()->value(),
             pelkor::HorizontalScrollBar(pelkor::testing::ViewOf(workspace())).position);

    const int level = pelkor::testing::ViewOf(workspace()).zoomLevel;
    QWheelEvent wheel(QPointF(50, 50), view()->viewport()->mapToGlobal(QPointF(50, 50)), {},
                      QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view()->viewport(), &wheel);
    QCOMPARE(pelkor::testing::ViewOf(workspace()).zoomLevel, level + 1);
    QCOMPARE(view()->horizontalScrollBar()->pageStep(),
             pelkor::HorizontalScrollBar(pelkor::testing::ViewOf(workspace())).page);
  }

  void tooltipsShowAfterTheirDelayOnWhite() {
    view()->SetTooltip("0110");
    QWidget* tip = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((tip = VisibleTooltip()) != nullptr, 2000);
    QCOMPARE(tip->grab().toImage().pixelColor(3, 3), QColor(Qt::white));
    view()->SetTooltip({});
    QTRY_VERIFY(VisibleTooltip() == nullptr);
  }

 private:
  static QWidget* VisibleTooltip() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->objectName() == "qtooltip_label" && widget->isVisible())
        return widget;
    }
    return nullptr;
  }
};

QTEST_MAIN(ViewWidgetTest)
#include "view_widget_test.moc"
