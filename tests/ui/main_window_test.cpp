// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven through its actions, with a scripted file chooser.
#include <QtTest>

#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

#include "edit/command_table.h"
#include "files/settings.h"
#include "ui/main_window.h"
#include "ui/module_tree_window.h"
#include "ui/output_log_window.h"
#include "ui/view_widget.h"

using pelkor::CommandId;

namespace {

QStringList MenuTitles(QMenuBar* bar) {
  QStringList titles;
  for (QAction* menu : bar->actions())
    titles << menu->text();
  return titles;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder_;
  // A settings file of the test's own, so that no test sees what another one saved.
  std::filesystem::path settingsPath() const {
    return std::filesystem::path(folder_.path().toStdString()) / QTest::currentTestFunction() /
           "pelkor.ini";
  }
  // A window whose file dialogs answer with `path`.
  std::unique_ptr<pelkor::MainWindow> windowChoosing(const std::filesystem::path& path) {
    auto window = std::make_unique<pelkor::MainWindow>(settingsPath());
    window->desktopUi().SetFileChooser([path](const pelkor::FileDialogSpec&) { return path; });
    return window;
  }
  bool enabled(pelkor::MainWindow& w, CommandId id) { return w.action(id)->isEnabled(); }
  // Closes the next modal window once it shows, after checking that it mentions `text`.
  static void CloseNextModal(const QString& text) {
    QTimer::singleShot(0, [text] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box != nullptr);
      QVERIFY2(box->text().contains(text), qPrintable(box->text()));
      box->close();
    });
  }
  static void ClickInNextModal(const char* buttonName) {
    QTimer::singleShot(0, [buttonName] {
      QWidget* modal = QApplication::activeModalWidget();
      QVERIFY(modal != nullptr);
      auto* button = modal->findChild<QPushButton*>(buttonName);
      QVERIFY(button != nullptr);
      button->click();
    });
  }

 private slots:
  void menusToolbarAndPanesFollowTheResources() {
    pelkor::MainWindow window(settingsPath());
    QCOMPARE(MenuTitles(window.menuBar()),
             (QStringList{"ファイル(&F)", "編集(&E)", "表示(&V)", "ツール", "エディット", "設定",
                          "ヘルプ(&H)"}));
    QCOMPARE(window.action(CommandId::kNew)->text(), QString("新規作成\tCtrl+N(&N)"));
    QCOMPARE(window.action(CommandId::kNew)->shortcut(), QKeySequence("Ctrl+N"));
    QCOMPARE(window.action(CommandId::kUndo)->shortcuts().size(), 2);
    QCOMPARE(window.action(CommandId::kZoomIn)->toolTip(), QString("ビューの拡大"));
    QCOMPARE(window.action(CommandId::kExportBsp)->statusTip(), QString("DRAVUファイルを出力"));

    auto* toolBar = window.findChild<QToolBar*>("toolBar");
    QVERIFY(toolBar != nullptr);
    int buttons = 0, separators = 0;
    for (QAction* action : toolBar->actions())
      action->isSeparator() ? ++separators : ++buttons;
    QCOMPARE(buttons, 24);
    QCOMPARE(separators, 5);
    QVERIFY(!toolBar->actions().front()->icon().isNull());

    QCOMPARE(window.statusBar()->currentMessage(), QString("レディ"));
    QCOMPARE(window.findChild<QLabel*>("objectPane")->text(), QString("OBJ=0"));
    QCOMPARE(window.windowTitle(), QString("untitle - pelkor"));
  }

  void outputLogTogglesAndForgetsItsLines() {
    pelkor::MainWindow window(settingsPath());
    window.show();
    QVERIFY(window.outputLog() != nullptr);  // shown at start by default
    QVERIFY(window.action(CommandId::kOutputLog)->isChecked());
    window.workspace().log().WriteText("first");
    QCOMPARE(window.outputLog()->text(), QString("first"));

    window.Execute(CommandId::kOutputDialog);
    QVERIFY(window.outputLog() == nullptr);
    QVERIFY(!window.action(CommandId::kOutputLog)->isChecked());
    window.workspace().log().WriteText("dropped");
    window.Execute(CommandId::kOutputLog);
    QCOMPARE(window.outputLog()->text(), QString());

    QTest::keyClick(window.outputLog(), Qt::Key_Escape);
    QVERIFY(window.outputLog() == nullptr);
  }

  void theOutputSettingIsWrittenBackOnExit() {
    {
      pelkor::MainWindow window(settingsPath());
      window.Execute(CommandId::kOutputLog);  // hide
      window.close();
    }
    QCOMPARE(pelkor::LoadSettings(settingsPath()).outputView, false);
    pelkor::MainWindow window(settingsPath());
    QVERIFY(window.outputLog() == nullptr);
  }

  void opensAnExampleChecksRunsAndStopsFromTheActions() {
    auto window = windowChoosing(std::filesystem::path(PELKOR_EXAMPLES) / "full_adder.dtn");
    window->Execute(CommandId::kOpen);
    QCOMPARE(window->windowTitle(), QString("full_adder - pelkor"));
    QVERIFY(window->outputLog()->text().contains("full_adderを読み込みました"));
    QVERIFY(window->findChild<QLabel*>("objectPane")->text() != "OBJ=0");

    QVERIFY(enabled(*window, CommandId::kCheck));
    QVERIFY(!enabled(*window, CommandId::kStep));
    window->Execute(CommandId::kCheck);
    QVERIFY(window->outputLog()->text().contains("チェック完了"));
    for (CommandId id : {CommandId::kNew, CommandId::kOpen, CommandId::kSave,
                         CommandId::kShiftRegisterTool, CommandId::kSettings, CommandId::kPaste})
      QVERIFY2(!enabled(*window, id), qPrintable(window->action(id)->text()));
    QVERIFY(window->action(CommandId::kCheck)->isChecked());

    window->Execute(CommandId::kStep);
    window->Execute(CommandId::kRun);
    QVERIFY(window->action(CommandId::kRun)->isChecked());
    QTRY_VERIFY_WITH_TIMEOUT(!window->workspace().IsTimerRunning(), 10000);
    QVERIFY(window->outputLog()->text().contains("シミュレーションを終了します"));

    window->Execute(CommandId::kStop);
    QVERIFY(window->outputLog()->text().contains("シミュレーション停止"));
    QVERIFY(enabled(*window, CommandId::kCheck));
    QVERIFY(!enabled(*window, CommandId::kStep));
  }

  void runWithoutAnimationEndsWithTheElapsedTime() {
    auto window = windowChoosing(std::filesystem::path(PELKOR_EXAMPLES) / "counter_divider.dtn");
    window->Execute(CommandId::kOpen);
    window->Execute(CommandId::kCheck);
    window->Execute(CommandId::kRunWithoutAnimation);
    QVERIFY(window->outputLog()->text().contains("シミュレーション時間は"));
    QVERIFY(window->action(CommandId::kRunWithoutAnimation)->isChecked());
  }

  void recentFilesListOpenedDesignsAndDropMissingOnes() {
    const auto example = std::filesystem::path(PELKOR_EXAMPLES) / "full_adder.dtn";
    {
      pelkor::Settings settings;
      settings.recentFiles = {"/no/such/design.dtn"};
      pelkor::SaveSettings(settingsPath(), settings);
    }
    pelkor::MainWindow window(settingsPath());
    auto* first = window.findChild<QAction*>("recentFile1");
    QVERIFY(first->isVisible());
    QVERIFY(!window.action(CommandId::kRecentFile)->isVisible());

    CloseNextModal("/no/such/design.dtn");
    first->trigger();
    QVERIFY(window.settings().recentFiles.empty());
    QVERIFY(window.action(CommandId::kRecentFile)->isVisible());

    window.OpenDesign(example);
    QCOMPARE(first->text(), "&1 " + QString::fromStdString(example.string()));
    window.close();
    QCOMPARE(pelkor::LoadSettings(settingsPath()).recentFiles,
             std::vector<std::string>{example.string()});
  }

  void aChangedModuleIsMarkedAndClosingAsksFirst() {
    pelkor::MainWindow window(settingsPath());
    window.OpenDesign(std::filesystem::path(PELKOR_EXAMPLES) / "full_adder.dtn");
    QCOMPARE(window.windowTitle(), QString("full_adder - pelkor"));
    window.workspace().library().currentModule().AddSink({});
    window.RefreshCommandStates();
    QCOMPARE(window.windowTitle(), QString("full_adder* - pelkor"));

    ClickInNextModal("cancelButton");
    QVERIFY(!window.close());
    ClickInNextModal("discardButton");
    QVERIFY(window.close());
  }

  void theCheckOpensTheModuleTreeWhichStaysUntilTheEnd() {
    auto window = windowChoosing(std::filesystem::path(PELKOR_EXAMPLES) / "double_inverter.dtn");
    window->Execute(CommandId::kOpen);
    QVERIFY(window->moduleTree() == nullptr);
    window->Execute(CommandId::kCheck);
    QVERIFY(window->moduleTree() != nullptr);
    QVERIFY(window->action(CommandId::kModuleTree)->isChecked());
    QCOMPARE(window->moduleTree()->tree()->topLevelItem(0)->childCount(), 2);
    window->Execute(CommandId::kModuleTree);  // refused while simulating
    QVERIFY(window->moduleTree() != nullptr);
    window->Execute(CommandId::kStop);
    QVERIFY(window->moduleTree() == nullptr);  // the check opened it

    window->Execute(CommandId::kModuleTree);
    window->Execute(CommandId::kCheck);
    window->Execute(CommandId::kStop);
    QVERIFY(window->moduleTree() != nullptr);  // the user had opened it
  }

  void toolsAreExclusiveAndTheAboutBoxShowsTheVersion() {
    pelkor::MainWindow window(settingsPath());
    window.Execute(CommandId::kArcTool);
    QVERIFY(window.action(CommandId::kArcTool)->isChecked());
    window.Execute(CommandId::kMoveTool);
    QVERIFY(!window.action(CommandId::kArcTool)->isChecked());
    QVERIFY(window.action(CommandId::kMoveTool)->isChecked());
    QVERIFY(!enabled(window, CommandId::kUpperModule));

    QTimer::singleShot(0, [] {
      QWidget* about = QApplication::activeModalWidget();
      QVERIFY(about != nullptr);
      QCOMPARE(about->windowTitle(), QString("バージョン情報 pelkor"));
      QVERIFY(about->findChild<QLabel*>("aboutVersion")->text() == "pelkor Version 1.03");
      QVERIFY(about->findChild<QLabel*>("aboutLicense")->text().contains("GPL-3.0-or-later"));
      about->close();
    });
    window.Execute(CommandId::kAbout);
  }

  void theOutputLogStaysAboveTheDockedWaveforms() {
    pelkor::MainWindow window(settingsPath());
    window.resize(800, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.outputLog() != nullptr);
    window.Execute(CommandId::kWaveform);
    QWidget* dock = window.findChild<QDockWidget*>();
    QVERIFY(dock != nullptr && dock->isVisible());
    QTRY_VERIFY(window.outputLog()->geometry().bottom() < dock->mapToGlobal(QPoint(0, 0)).y());
    window.Execute(CommandId::kWaveform);
    QTRY_COMPARE(window.outputLog()->geometry().top(), window.frameGeometry().bottom() - 150);
  }

  void settingsAcceptedReachTheViewAndTheSettingsFile() {
    {
      pelkor::MainWindow window(settingsPath());
      window.resize(600, 400);
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      QTimer::singleShot(0, [] {
        QWidget* sheet = QApplication::activeModalWidget();
        QVERIFY(sheet != nullptr);
        sheet->findChild<QListWidget*>("objectList")->setCurrentRow(9);  // the background
        sheet->findChild<QSlider*>("redSlider")->setValue(10);
        sheet->findChild<QPushButton*>("ok")->click();
      });
      window.Execute(CommandId::kSettings);
      window.view()->viewport()->repaint();
      QCOMPARE(window.view()->backBuffer().pixelColor(3, 3), QColor(10, 255, 255));
      window.close();
    }
    QCOMPARE(pelkor::LoadSettings(settingsPath()).colours.at(12), pelkor::Rgb(10, 255, 255));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
