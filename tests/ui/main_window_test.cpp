// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven through its actions, with a scripted file chooser.
#include <QtTest>

#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolBar>
#include <QTreeWidget>
#include <fstream>

#include "dialog_driver.h"
#include "edit/command_table.h"
#include "files/settings.h"
#include "support/workspace_probe.h"
#include "ui/design_file_dialog.h"
#include "ui/draw_list_painter.h"
#include "ui/main_window.h"
#include "ui/module_tree_window.h"
#include "ui/output_log_window.h"
#include "ui/qt_translations.h"
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
    QCOMPARE(window.action(CommandId::kNew)->text(), QString("新規作成(&N)"));
    QCOMPARE(window.action(CommandId::kNew)->shortcut(), QKeySequence("Ctrl+N"));
    QCOMPARE(window.action(CommandId::kUndo)->shortcuts().size(), 2);
    QCOMPARE(window.action(CommandId::kZoomIn)->toolTip(), QString("ビューの拡大"));
    QCOMPARE(window.action(CommandId::kExportBsp)->statusTip(), QString("DRAVUファイルを出力"));

    auto* toolBar = window.findChild<QToolBar*>("toolBar");
    QVERIFY(toolBar != nullptr);
    int buttons = 0, separators = 0;
    for (QAction* action : toolBar->actions())
      action->isSeparator() ? ++separators : ++buttons;
    QCOMPARE(buttons, 25);  // the original 24 and step back
    QCOMPARE(separators, 5);
    QVERIFY(!toolBar->actions().front()->icon().isNull());

    QCOMPARE(window.statusBar()->currentMessage(), QString("レディ"));
    QCOMPARE(window.findChild<QLabel*>("objectPane")->text(), QString("OBJ=0"));
    QCOMPARE(window.windowTitle(), QString("untitle - pelkor"));
  }

  // Each key reaches its command; the plain keys only from the view, so that typing in the
  // module tree picks no tool.
  void theKeysReachTheirCommands() {
    pelkor::MainWindow window(settingsPath());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.OpenDesign(std::filesystem::path(PELKOR_EXAMPLES) / "full_adder.dtn");
    const std::pair<const char*, CommandId> keys[] = {
        {"R", CommandId::kShiftRegisterTool},
        {"S", CommandId::kStateMachineTool},
        {"C", CommandId::kCounterTool},
        {"I", CommandId::kSourceTool},
        {"O", CommandId::kSinkTool},
        {"M", CommandId::kModuleTool},
        {"A", CommandId::kArcTool},
        {"Ctrl+A", CommandId::kSelectAll},
        {"Ctrl+0", CommandId::kZoomToFit},
        {"Ctrl+-", CommandId::kZoomOut},
        {"Ctrl++", CommandId::kZoomIn},
        {"F7", CommandId::kCheck},
        {"F10", CommandId::kStep},
        {"Ctrl+Shift+F10", CommandId::kStepBack},
        {"F5", CommandId::kRun},
        {"Pause", CommandId::kPause},
        {"Shift+F5", CommandId::kStop},
    };
    window.view()->setFocus();
    for (const auto& [key, id] : keys) {
      QSignalSpy triggered(window.action(id), &QAction::triggered);
      const QKeySequence sequence(key);
      QTest::keySequence(QApplication::focusWidget(), sequence);
      QVERIFY2(triggered.size() == 1, key);
      // Shown once in the menu: bound to the action, or written after its text for the view.
      QAction* action = window.action(id);
      QVERIFY2(action->shortcuts().contains(sequence) ||
                   action->text().endsWith("\t" + sequence.toString(QKeySequence::NativeText)),
               key);
    }
    QVERIFY(!window.workspace().IsSimulating());
    window.Execute(CommandId::kModuleTree);
    window.moduleTree()->tree()->setFocus();
    QSignalSpy arcTool(window.action(CommandId::kArcTool), &QAction::triggered);
    QTest::keyClick(window.moduleTree()->tree(), Qt::Key_A);
    QCOMPARE(arcTool.size(), 0);
    // F6 and Shift+F6 go round the view and the docks shown.
    window.view()->setFocus();
    QWidget* tree = window.moduleTree()->tree();
    QWidget* log = window.outputLog()->widget();
    const std::pair<QKeySequence, QWidget*> panes[] = {
        {QKeySequence("F6"), tree},
        {QKeySequence("F6"), log},
        {QKeySequence("F6"), window.view()},
        {QKeySequence("Shift+F6"), log},
    };
    for (const auto& [key, pane] : panes) {
      QTest::keySequence(QApplication::focusWidget(), key);
      QTRY_VERIFY2(QApplication::focusWidget() == pane, qPrintable(pane->objectName()));
    }
    for (QAction* menu : window.menuBar()->actions()) {
      for (QAction* item : menu->menu()->actions()) {
        QVERIFY2(item->shortcuts().isEmpty() || !item->text().contains('\t'),
                 qPrintable(item->text()));
      }
    }
  }

  void qtsOwnDialogsSpeakJapanese() {
    QVERIFY(pelkor::InstallQtTranslations(*QCoreApplication::instance()));
    QMessageBox box(QMessageBox::Question, "pelkor", "?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QString("キャンセル"));
    QFileDialog chooser(nullptr, "開く");
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    auto* cancel = chooser.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
    QCOMPARE(cancel->text(), QString("キャンセル"));
  }

  void outputLogTogglesAndForgetsItsLines() {
    pelkor::MainWindow window(settingsPath());
    window.show();
    QVERIFY(window.outputLog() != nullptr);  // shown at start by default
    QVERIFY(window.action(CommandId::kOutputLog)->isChecked());
    window.workspace().WriteLog("first");
    QCOMPARE(window.outputLog()->text(), QString("first"));

    window.Execute(CommandId::kOutputDialog);
    QVERIFY(window.outputLog() == nullptr);
    QVERIFY(!window.action(CommandId::kOutputLog)->isChecked());
    window.workspace().WriteLog("dropped");
    window.Execute(CommandId::kOutputLog);
    QCOMPARE(window.outputLog()->text(), QString());

    QTest::keyClick(window.outputLog(), Qt::Key_Escape);
    QVERIFY(window.outputLog() == nullptr);
  }

  void aClickOnALogLineShowsTheObjectItNames() {
    auto window = windowChoosing(std::filesystem::path(PELKOR_EXAMPLES) / "double_inverter.dtn");
    window->show();
    window->Execute(CommandId::kOpen);
    const pelkor::RuntimeInstance& root = window->workspace().library().rootInstance();
    const auto& [instanceId, node] = *root.children.rbegin();
    const int reg =
        window->workspace().library().ModuleByName(node->name).shiftRegisters.begin()->first;
    window->workspace().WriteLog(root.name + "/" + std::to_string(instanceId) + " シフトレジスタ" +
                                 std::to_string(reg) + ": 01");
    window->workspace().WriteLog("no object");
    auto* text = window->findChild<QPlainTextEdit*>("outputLogText");
    const auto clickLine = [text](int line) {
      QTextCursor cursor(text->document()->findBlockByNumber(line));
      QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, text->cursorRect(cursor).center());
    };
    clickLine(text->document()->blockCount() - 1);  // names nothing: nothing changes
    QCOMPARE(&window->workspace().library().currentInstance(), &root);
    clickLine(text->document()->blockCount() - 2);
    QCOMPARE(&window->workspace().library().currentInstance(), node.get());
    QCOMPARE(window->workspace().library().currentModule().selection.selectedIds,
             std::set<int>{reg});
  }

  void designFilesShowTheirOwnTypeInTheFileDialog() {
    const pelkor::DesignFileDialog dialog(nullptr, {true, "dtnファイル(*.dtn)|*.dtn||", "*.dtn"});
    const QString examples = QString::fromUtf8(PELKOR_EXAMPLES);
    QCOMPARE(dialog.iconProvider()->type(QFileInfo(examples + "/inverter.dtn")),
             QString::fromUtf8(pelkor::kDesignFileType));
    QVERIFY(dialog.iconProvider()->type(QFileInfo(examples)) !=
            QString::fromUtf8(pelkor::kDesignFileType));
    QCOMPARE(dialog.nameFilters(), QStringList{"dtnファイル(*.dtn)"});
    QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
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
    QVERIFY(!enabled(*window, CommandId::kUndo));  // nothing done yet
    QVERIFY(window->findChild<QLabel*>("objectPane")->text() != "OBJ=0");

    QVERIFY(enabled(*window, CommandId::kCheck));
    QVERIFY(!enabled(*window, CommandId::kStep));
    window->Execute(CommandId::kCheck);
    QVERIFY(window->outputLog()->text().contains("チェック完了"));
    for (CommandId id : {CommandId::kNew, CommandId::kOpen, CommandId::kSave,
                         CommandId::kShiftRegisterTool, CommandId::kSettings, CommandId::kPaste})
      QVERIFY2(!enabled(*window, id), qPrintable(window->action(id)->text()));
    QVERIFY(window->action(CommandId::kCheck)->isChecked());

    auto* stepPane = window->findChild<QLabel*>("stepPane");
    QVERIFY(!stepPane->isHidden());
    QCOMPARE(stepPane->text(), QString("ステップ 0"));
    QVERIFY(!enabled(*window, CommandId::kStepBack));
    window->Execute(CommandId::kStep);
    QCOMPARE(stepPane->text(), QString("ステップ 1"));
    window->Execute(CommandId::kStepBack);
    QCOMPARE(stepPane->text(), QString("ステップ 0"));
    window->Execute(CommandId::kStep);
    window->Execute(CommandId::kRun);
    QVERIFY(window->action(CommandId::kRun)->isChecked());
    QTRY_VERIFY_WITH_TIMEOUT(!window->workspace().IsTimerRunning(), 10000);
    QVERIFY(window->outputLog()->text().contains("シミュレーションを終了します"));

    window->Execute(CommandId::kStop);
    QVERIFY(window->outputLog()->text().contains("シミュレーション停止"));
    QVERIFY(stepPane->isHidden());
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
    pelkor::testing::LibraryOf(window.workspace()).currentModule().AddSink({});
    pelkor::testing::LibraryOf(window.workspace()).currentModule().RecordEdit();
    window.RefreshCommandStates();
    QCOMPARE(window.windowTitle(), QString("full_adder* - pelkor"));

    ClickInNextModal("cancelButton");
    QVERIFY(!window.close());
    ClickInNextModal("discardButton");
    QVERIFY(window.close());
  }

  // A file opened with a damaged part passed over was rewritten by Ctrl+S without a word.
  void aFileReadInPartIsMarkedAndSaveAsksBeforeWritingOverIt() {
    const std::filesystem::path design =
        std::filesystem::path(folder_.path().toStdString()) / "hurt.dtn";
    const std::string damaged = "//pelkor file\nshift[1,0,0,0,1,2]{\n}\n\x01 noise\n";
    std::ofstream(design, std::ios::binary) << damaged;
    pelkor::MainWindow window(settingsPath());
    window.OpenDesign(design);
    QCOMPARE(window.windowTitle(), QString("hurt（一部読み込めず） - pelkor"));
    auto contents = [&] {
      std::ifstream in(design, std::ios::binary);
      return std::string(std::istreambuf_iterator<char>(in), {});
    };
    ClickInNextModal("cancelButton");
    window.Execute(CommandId::kSave);
    QCOMPARE(contents(), damaged);
    ClickInNextModal("overwriteButton");
    window.Execute(CommandId::kSave);
    QVERIFY(contents() != damaged);
    QCOMPARE(window.windowTitle(), QString("hurt - pelkor"));
  }

  void theCheckOpensTheModuleTreeWhichCanBeClosedAtAnyTime() {
    auto window = windowChoosing(std::filesystem::path(PELKOR_EXAMPLES) / "double_inverter.dtn");
    window->Execute(CommandId::kOpen);
    QVERIFY(window->moduleTree() == nullptr);
    window->Execute(CommandId::kCheck);
    QVERIFY(window->moduleTree() != nullptr);
    QVERIFY(window->action(CommandId::kModuleTree)->isChecked());
    QCOMPARE(window->moduleTree()->tree()->topLevelItem(0)->childCount(), 2);
    window->Execute(CommandId::kModuleTree);  // a dock: it may go while simulating
    QVERIFY(window->moduleTree() == nullptr);
    QVERIFY(!window->action(CommandId::kModuleTree)->isChecked());
    window->Execute(CommandId::kModuleTree);
    QCOMPARE(window->moduleTree()->tree()->topLevelItem(0)->childCount(), 2);
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

  // The log at the bottom, the waveforms above it under the view, the tree on the right:
  // none of them covers the drawing, and each can float, the log half transparent.
  void theDockWindowsLieAroundTheView() {
    pelkor::MainWindow window(settingsPath());
    window.resize(800, 560);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.Execute(CommandId::kWaveform);
    window.Execute(CommandId::kModuleTree);
    QDockWidget* log = window.outputLog();
    QDockWidget* tree = window.moduleTree();
    QDockWidget* waveform = window.findChild<QDockWidget*>("waveformDock");
    QCOMPARE(window.dockWidgetArea(log), Qt::BottomDockWidgetArea);
    QCOMPARE(window.dockWidgetArea(waveform), Qt::BottomDockWidgetArea);
    QCOMPARE(window.dockWidgetArea(tree), Qt::RightDockWidgetArea);
    QTRY_VERIFY(waveform->geometry().bottom() < log->geometry().top());
    const QRect view = window.view()->geometry();
    for (QDockWidget* dock : {log, tree, waveform}) {
      QVERIFY2(dock->isVisible() && !dock->geometry().intersects(view),
               qPrintable(dock->objectName()));
    }

    log->setFloating(true);
    QVERIFY(qAbs(log->windowOpacity() - 0.5) < 0.01);  // kept in 8 bits
    log->setFloating(false);
    QCOMPARE(log->windowOpacity(), 1.0);
  }

  // Where the window and its docks were is kept; which docks show is decided as at every
  // start: the tree and the waveforms closed, the log as its own setting says.
  void theLayoutIsRememberedAndTheWindowFitsTheScreen() {
    QRect placed;
    {
      pelkor::MainWindow window(settingsPath());
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      const QRect screen = window.screen()->availableGeometry();
      QVERIFY2(screen.contains(window.frameGeometry()),
               qPrintable(QString("%1x%2+%3+%4 in %5x%6")
                              .arg(window.frameGeometry().width())
                              .arg(window.frameGeometry().height())
                              .arg(window.frameGeometry().x())
                              .arg(window.frameGeometry().y())
                              .arg(screen.width())
                              .arg(screen.height())));
      window.setGeometry(screen.left() + 30, screen.top() + 40, 500, 400);
      window.Execute(CommandId::kModuleTree);
      window.addDockWidget(Qt::LeftDockWidgetArea, window.moduleTree());
      window.addDockWidget(Qt::TopDockWidgetArea, window.outputLog());
      placed = window.geometry();
      window.close();
    }
    pelkor::MainWindow window(settingsPath());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.geometry(), placed);
    QVERIFY(window.moduleTree() == nullptr);
    QVERIFY(window.outputLog() != nullptr);
    QCOMPARE(window.dockWidgetArea(window.outputLog()), Qt::TopDockWidgetArea);
    window.Execute(CommandId::kModuleTree);
    QCOMPARE(window.dockWidgetArea(window.moduleTree()), Qt::LeftDockWidgetArea);
  }

  // The wheel's habit and the grid snap are chosen in the menus and kept in the settings.
  void theWheelHabitAndTheGridSnapAreRemembered() {
    {
      pelkor::MainWindow window(settingsPath());
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      window.Execute(CommandId::kWheelScrolls);
      window.Execute(CommandId::kGridSnap);
      QVERIFY(window.action(CommandId::kWheelScrolls)->isChecked());
      QVERIFY(!window.action(CommandId::kWheelZooms)->isChecked());
      QVERIFY(window.action(CommandId::kGridSnap)->isChecked());
      const pelkor::ViewState before = pelkor::testing::ViewOf(window.workspace());
      QWidget* viewport = window.view()->viewport();
      QWheelEvent wheel(QPointF(50, 50), viewport->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, 120),
                        Qt::NoButton, {}, Qt::NoScrollPhase, false);
      QApplication::sendEvent(viewport, &wheel);
      const pelkor::ViewState& after = pelkor::testing::ViewOf(window.workspace());
      QCOMPARE(after.zoomLevel, before.zoomLevel);
      QVERIFY(after.origin.y < before.origin.y);  // scrolled up
      window.close();
    }
    const pelkor::Settings saved = pelkor::LoadSettings(settingsPath());
    QVERIFY(saved.desktop.wheel == pelkor::WheelHabit::kScroll);
    QVERIFY(saved.desktop.gridSnap);
    pelkor::MainWindow window(settingsPath());
    QVERIFY(window.action(CommandId::kGridSnap)->isChecked());
    QVERIFY(window.action(CommandId::kWheelScrolls)->isChecked());
  }

  // A settings file edited by hand or left by another version: the view takes each value
  // within the range the settings dialog gives it, the log says so, and closing writes back
  // what was used.
  void absurdSettingsReachTheViewWithinTheirRanges() {
    std::filesystem::create_directories(settingsPath().parent_path());
    std::ofstream(settingsPath()) << "[VIEW]\nGREDDSIZE=999999\nGDCOLOR=255\nBGCOLOR=4294967295\n"
                                     "[FONT]\nHeight=-2147483648\nWidth=2147483647\n";
    {
      pelkor::MainWindow window(settingsPath());
      window.resize(600, 400);
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      window.view()->viewport()->repaint();

      // Grid lines, in red on white, 100 pixels apart: where each begins along a row.
      const QImage& picture = window.view()->backBuffer();
      std::vector<int> lines;
      for (int x = 0; x < picture.width(); ++x) {
        const QColor colour = picture.pixelColor(x, 5);
        if (colour == QColor(255, 0, 0) && (x == 0 || picture.pixelColor(x - 1, 5) != colour))
          lines.push_back(x);
        else if (colour != QColor(255, 0, 0))
          QCOMPARE(colour, QColor(Qt::white));
      }
      QVERIFY2(lines.size() >= 3, qPrintable(QString::number(lines.size())));
      for (std::size_t i = 1; i < lines.size(); ++i)
        QCOMPARE(lines[i] - lines[i - 1], 100);

      QCOMPARE(pelkor::ViewFont(window.workspace().settings().font).pixelSize(), 96);
      const QString log = window.outputLog()->text();
      QVERIFY2(log.contains("設定VIEW/GREDDSIZEの値「999999」は範囲外なので「100」にしました"),
               qPrintable(log));
      QVERIFY(log.contains("設定FONT/Heightの値「-2147483648」は範囲外なので「-96」にしました"));
      window.close();
    }
    const pelkor::Settings written = pelkor::LoadSettings(settingsPath());
    QCOMPARE(written.gridSize, 100);
    QCOMPARE(written.colours.at(12), pelkor::Rgb(255, 255, 255));
    QCOMPARE(written.font.height, -96);
    QCOMPARE(written.font.width, 96);
  }

  void theExportOffersTheModuleNameInTheDesignFolder() {
    pelkor::MainWindow window(settingsPath());
    window.OpenDesign(std::filesystem::path(PELKOR_EXAMPLES) / "full_adder.dtn");
    QStringList selected, filters;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      selected = dialog->selectedFiles();
      filters = dialog->nameFilters();
      dialog->reject();
    });
    window.Execute(CommandId::kExportBsp);
    QCOMPARE(selected, QStringList{QDir(PELKOR_EXAMPLES).filePath("full_adder.bsp")});
    QCOMPARE(filters, QStringList{"ビットシリアルペトリネット(*.bsp)"});
  }

  void theModuleManagerShowsAModuleOfTheTree() {
    pelkor::MainWindow window(settingsPath());
    window.OpenDesign(std::filesystem::path(PELKOR_EXAMPLES) / "double_inverter.dtn");
    QTimer::singleShot(0, [&] {
      QWidget* manager = QApplication::activeModalWidget();
      QVERIFY(manager != nullptr);
      manager->findChild<QLineEdit*>("nameEdit")->setText("inverter");
      manager->findChild<QPushButton*>("showButton")->click();
      manager->close();
    });
    window.Execute(CommandId::kModuleManager);
    QCOMPARE(pelkor::testing::LibraryOf(window.workspace()).currentInstance().name,
             std::string("inverter"));
    QVERIFY(enabled(window, CommandId::kUpperModule));
    // Which of the two inverters is shown.
    QVERIFY2(QRegularExpression("^double_inverter / [0-9]+:inverter - pelkor$")
                 .match(window.windowTitle())
                 .hasMatch(),
             qPrintable(window.windowTitle()));
  }

  // Runs Print: the scale dialog is answered with OK, then `act` gets the print dialog.
  static void PrintWith(pelkor::MainWindow& window, std::function<void(QPrintDialog*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
      QWidget* scale = QApplication::activeModalWidget();
      QVERIFY(scale != nullptr && scale->objectName() == "printScaleDialog");
      QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        act(dialog);
      });
      scale->findChild<QPushButton*>("ok")->click();
    });
    window.Execute(CommandId::kPrint);
  }

  void printOffersAPdfOfTheModuleShownInTheDesignFolder() {
    QTemporaryDir design;
    for (const char* name : {"double_inverter.dtn", "inverter.dtn"})
      QVERIFY(QFile::copy(QDir(PELKOR_EXAMPLES).filePath(name), design.filePath(name)));
    pelkor::MainWindow window(settingsPath());
    window.OpenDesign(design.filePath("double_inverter.dtn").toStdString());
    pelkor::testing::RecordedMessages messages;  // a failed print would say so
    QString offered;
    PrintWith(window, [&](QPrintDialog* dialog) {
      offered = dialog->printer()->outputFileName();
      dialog->accept();
    });
    QCOMPARE(offered, design.filePath("double_inverter.pdf"));
    QVERIFY(QFileInfo(design.filePath("double_inverter.pdf")).size() > 1000);
    QVERIFY(messages.texts.isEmpty());

    // Another module shown: its own name is offered, not the last one's. A file that cannot be
    // written is named.
    const pelkor::RuntimeInstance& root =
        pelkor::testing::LibraryOf(window.workspace()).rootInstance();
    window.workspace().GoToTreeItem(root.children.begin()->second->treeItem);
    QVERIFY(QDir(design.path()).removeRecursively());
    PrintWith(window, [&](QPrintDialog* dialog) {
      offered = dialog->printer()->outputFileName();
      dialog->accept();
    });
    QCOMPARE(offered, design.filePath("inverter.pdf"));
    QCOMPARE(messages.texts,
             QStringList{design.filePath("inverter.pdf") + "に書き込めませんでした"});
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
