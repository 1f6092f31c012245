// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <sstream>

#include "support/workspace_probe.h"
#include "ui/desktop_ui.h"
#include "ui/waveform_dock.h"
#include "ui/waveform_view.h"
#include "workspace/workspace.h"

namespace {

using pelkor::HistoryCell;
using pelkor::WaveformView;

constexpr int kDividerSink = 5;

// The y of each level inside a row, as the view draws them.
constexpr int kHigh = 5;
constexpr int kLow = 21;
constexpr int kMid = (kHigh + kLow) / 2;

bool IsBackground(QColor colour) {
  return colour == Qt::white || (colour.red() > 240 && colour.green() < 230);  // or mismatch
}

}  // namespace

class WaveformDockTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    ui_ = std::make_unique<pelkor::DesktopUi>(nullptr);
    workspace_ = std::make_unique<pelkor::Workspace>(*ui_);
    QCOMPARE(workspace_->OpenFile(std::filesystem::path(PELKOR_EXAMPLES) / "counter_divider.dtn"),
             pelkor::OpenResult::kOpened);
    // One value off what the divider gives, so that the sink departs once.
    pelkor::testing::LibraryOf(*workspace_).currentModule().sinks.at(kDividerSink).expected =
        "011001";
    workspace_->Check();
    QVERIFY(workspace_->IsSimulating());
    for (int i = 0; i < 14; ++i)
      workspace_->Step();
    dock_ = std::make_unique<pelkor::WaveformDock>(*workspace_);
    dock_->resize(1400, 400);
    dock_->show();
    dock_->view()->SetColumnWidth(16);
    dock_->scrollBar()->setValue(0);
    dock_->Refresh();
  }
  void cleanup() {
    dock_.reset();
    workspace_.reset();
    ui_.reset();
  }

  // Every cell in sight is drawn at its level: high, low, or the middle for no value; rows
  // that do not fit the height are reached with the wheel.
  void drawsEachStepAtItsLevel_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("wheelNotches");
    QTest::newRow("every row in sight") << 400 << 0;
    QTest::newRow("scrolled to the last row") << 150 << -20;
  }
  void drawsEachStepAtItsLevel() {
    QFETCH(int, height);
    QFETCH(int, wheelNotches);
    dock_->resize(1400, height);
    QCoreApplication::processEvents();
    dock_->Refresh();
    const WaveformView& view = *dock_->view();
    const pelkor::SignalHistory& history = workspace_->history();
    QVERIFY(history.rows().size() >= 3);
    if (wheelNotches != 0) {
      QVERIFY(view.ContentHeight() > view.height());
      const QPointF at(view.width() / 2, view.height() / 2);
      QWheelEvent wheel(at, dock_->view()->mapToGlobal(at), QPoint(), QPoint(0, 120 * wheelNotches),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QCoreApplication::sendEvent(dock_->view(), &wheel);
      QCOMPARE(dock_->rowScrollBar()->value(), dock_->rowScrollBar()->maximum());
      const std::size_t last = history.rows().size() - 1;
      QVERIFY(view.RowTop(last) + view.RowHeight(last) <= view.height());
    }
    const QImage image = dock_->view()->grab().toImage();
    int checked = 0;
    for (std::size_t row = 0; row < history.rows().size(); ++row) {
      const int top = view.RowTop(row);
      if (top < 0 || top + kLow >= view.height())
        continue;  // out of sight
      for (std::int64_t step = history.firstStep(); step <= history.lastStep(); ++step) {
        const HistoryCell cell = history.At(row, step);
        if (cell.value == pelkor::kSignalUnknown)
          continue;
        const int x = view.XOfStep(step) + view.columnWidth() / 2;
        const int level = cell.value == 1 ? kHigh : cell.value == 0 ? kLow : kMid;
        for (const int y : {kHigh, kLow, kMid}) {
          const QColor pixel = image.pixelColor(x, top + y);
          QVERIFY2(IsBackground(pixel) == (y != level),
                   qPrintable(QString("row %1 step %2 y %3").arg(row).arg(step).arg(y)));
        }
        ++checked;
      }
    }
    QVERIFY(checked > 20);
  }

  // A click on a column takes the simulation to its step: back within what is drawn, or
  // forward past it.
  void clickingAColumnMovesTheSimulationToItsStep() {
    const WaveformView& view = *dock_->view();
    for (const std::int64_t step : {5, 9}) {
      const QPoint at(view.XOfStep(step) + view.columnWidth() / 2, view.height() / 2);
      QTest::mouseClick(dock_->view(), Qt::LeftButton, Qt::NoModifier, at);
      QCOMPARE(workspace_->session().step(), step);
      QCOMPARE(workspace_->history().lastStep(), step);
    }
  }

  // Regression: after Stop and a new check the last run's mismatch stayed marked and named.
  void aNewRunForgetsTheMarkOfTheLast() {
    dock_->findChild<QPushButton*>("nextMismatchButton")->click();
    auto* label = dock_->findChild<QLabel*>("stepLabel");
    QVERIFY(dock_->view()->markedStep());
    QVERIFY(label->text().startsWith("不一致: ステップ"));
    workspace_->Execute(pelkor::CommandId::kStop);
    dock_->Refresh();
    QVERIFY(dock_->view()->markedStep());  // the ended run can still be looked at
    workspace_->Check();
    dock_->Refresh();
    QVERIFY(!dock_->view()->markedStep());
    QCOMPARE(label->text(), QString());
  }

  void marksTheMismatchInRedWithTheExpectedValueBelow() {
    const pelkor::SignalHistory& history = workspace_->history();
    const std::optional<std::int64_t> mismatch = history.NextMismatch(-1);
    QVERIFY(mismatch);
    std::size_t sinkRow = 0;
    while (history.rows()[sinkRow].signal.kind != pelkor::SignalKind::kSink)
      ++sinkRow;
    const WaveformView& view = *dock_->view();
    QCOMPARE(view.RowHeight(sinkRow), WaveformView::kRowHeight + WaveformView::kExpectedHeight);
    const QImage image = dock_->view()->grab().toImage();
    const int x = view.XOfStep(*mismatch);
    const QColor fill = image.pixelColor(x + 1, view.RowTop(sinkRow) + 1);
    QVERIFY(fill.red() > 200 && fill.green() < 230);
    // The expected digit under it is red.
    bool redDigit = false;
    for (int dx = 0; dx < view.columnWidth(); ++dx) {
      for (int dy = 0; dy < WaveformView::kExpectedHeight; ++dy) {
        const QColor p =
            image.pixelColor(x + dx, view.RowTop(sinkRow) + WaveformView::kRowHeight + dy);
        redDigit = redDigit || (p.red() > 150 && p.green() < 100 && p.blue() < 100);
      }
    }
    QVERIFY(redDigit);
  }

  void nextMismatchMarksTheStepsInTurn() {
    const pelkor::SignalHistory& history = workspace_->history();
    auto* button = dock_->findChild<QPushButton*>("nextMismatchButton");
    QVERIFY(button);
    std::optional<std::int64_t> expected = history.NextMismatch(dock_->view()->firstStep() - 1);
    QVERIFY(expected);
    for (int click = 0; click < 3; ++click) {
      button->click();
      QCOMPARE(dock_->view()->markedStep(), expected);
      if (!expected)
        break;
      expected = history.NextMismatch(*expected);
    }
  }

  void savesTheHistoryAsVcd() {
    QTemporaryDir folder;
    const QString path = folder.filePath("wave.vcd");
    dock_->SetFileChooser([&] { return path; });
    dock_->findChild<QPushButton*>("saveVcdButton")->click();
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream saved;
    saved << in.rdbuf();
    std::ostringstream expected;
    pelkor::WriteVcd(expected, workspace_->history().VcdSignals());
    QCOMPARE(saved.str(), expected.str());
  }

  // Once scrolled to the end, the view keeps the newest step in sight as the run goes on.
  void followsTheRunOnceAtTheEnd() {
    dock_->resize(500, 300);
    dock_->Refresh();
    QScrollBar* bar = dock_->scrollBar();
    bar->setValue(bar->maximum());
    for (int i = 0; i < 30; ++i)
      workspace_->Step();
    dock_->Refresh();
    QCOMPARE(bar->value(), bar->maximum());
    const WaveformView& view = *dock_->view();
    const int x = view.XOfStep(workspace_->history().lastStep());
    QVERIFY(x >= WaveformView::kNameWidth && x + view.columnWidth() <= view.width());
  }

  // Regression: a dock shown after the run had scrolled past every step while it had no width.
  void aDockWidenedAfterTheRunShowsTheLastSteps() {
    pelkor::WaveformDock narrow(*workspace_);
    narrow.resize(0, 300);
    narrow.Refresh();
    narrow.resize(1400, 300);
    narrow.show();
    QCoreApplication::processEvents();
    const WaveformView& view = *narrow.view();
    // Every step fits now, so the view starts at the first.
    QCOMPARE(view.firstStep(), workspace_->history().firstStep());
    const std::int64_t last = workspace_->history().lastStep();
    QVERIFY(view.XOfStep(last) + view.columnWidth() <= view.width());
  }

  void zoomStepsThroughTheColumnWidths() {
    const int before = dock_->view()->columnWidth();
    dock_->findChild<QPushButton*>("waveZoomInButton")->click();
    QCOMPARE(dock_->view()->columnWidth(), before * 2);
    dock_->findChild<QPushButton*>("waveZoomOutButton")->click();
    dock_->findChild<QPushButton*>("waveZoomOutButton")->click();
    QCOMPARE(dock_->view()->columnWidth(), before / 2);
  }

 private:
  std::unique_ptr<pelkor::DesktopUi> ui_;
  std::unique_ptr<pelkor::Workspace> workspace_;
  std::unique_ptr<pelkor::WaveformDock> dock_;
};

QTEST_MAIN(WaveformDockTest)
#include "waveform_dock_test.moc"
