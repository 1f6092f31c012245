// SPDX-License-Identifier: GPL-3.0-or-later
// A monkey in the main window: seeded random clicks and drags with every tool, keys, the
// wheel, menu commands by their ids, simulation control, undo and redo, with every dialog that
// opens answered with random valid and invalid values. After every event the modules keep
// their invariants and nothing has thrown; at the end, what Save All wrote reads back to the
// same modules. A failure names the seed S and the event N; it replays with
//   PELKOR_MONKEY_SEED=S PELKOR_MONKEY_EVENTS=N monkey_test "theWindowSurvivesRandomInput:seed
//   from the environment"
// (PELKOR_MONKEY_EVENTS sets the events per seed, 20,000 unless set; a longer hunt is a new
// seed with PELKOR_MONKEY_EVENTS=200000). Timers make a replay take the same path nearly always,
// not always: a run without animation shows its progress dialog after half a second.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <random>

#include "edit/command_table.h"
#include "files/design_file.h"
#include "model/model_invariants.h"
#include "ui/main_window.h"
#include "ui/view_widget.h"
#include "ui/waveform_dock.h"

namespace fs = std::filesystem;
using pelkor::CommandId;

namespace {

// What a user might type into any field: fitting values, wrong ones, and nonsense.
const char* const kTexts[] = {
    "",     "0",      "1",     "1010", "-3", "99999999999", "abc", "x",      "y = a;", "x = a & b;",
    "0x1F", "日本語", "../up", "a b",  "((", "0110\n1",     "new", "delete", "7",      "  "};

// Answers whatever modal dialog or popup menu is open: fills its fields with random texts and
// values and presses one of its buttons, or closes it. Each answer is deferred to a fresh
// single-shot timer, so that a dialog the answer opens in turn (a message box on a wrong value)
// is answered too: the answering timer itself never waits inside a nested event loop.
class DialogAnswerer : public QObject {
 public:
  explicit DialogAnswerer(std::mt19937& random) : random_(random) {
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &DialogAnswerer::Answer);
    timer_.start();
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  bool Chance(int percent) { return Pick(100) < percent; }

  void Answer() {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      AnswerPopup(popup);
      return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || answering_)
      return;
    answering_ = true;
    const int tries = modal->property("monkeyTries").toInt() + 1;
    modal->setProperty("monkeyTries", tries);
    // A dialog that keeps refusing the answers is cancelled.
    if (tries > 4) {
      Defer(modal, [modal] {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
          dialog->reject();
        else
          modal->close();
      });
      return;
    }
    Fill(modal);
    QList<QAbstractButton*> buttons;
    for (QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
      if (button->isVisible() && button->isEnabled() && !qobject_cast<QCheckBox*>(button))
        buttons.append(button);
    }
    if (buttons.isEmpty() || Chance(15)) {
      Defer(modal, [modal] { modal->close(); });
      return;
    }
    QAbstractButton* button = buttons[Pick(static_cast<int>(buttons.size()))];
    Defer(button, [button] { button->click(); });
  }

  void AnswerPopup(QWidget* popup) {
    if (answering_)
      return;
    answering_ = true;
    auto* menu = qobject_cast<QMenu*>(popup);
    QList<QAction*> enabled;
    if (menu != nullptr) {
      for (QAction* action : menu->actions()) {
        if (action->isEnabled() && !action->isSeparator() && action->menu() == nullptr)
          enabled.append(action);
      }
    }
    if (enabled.isEmpty() || Chance(20)) {
      Defer(popup, [popup] { popup->close(); });
      return;
    }
    QAction* action = enabled[Pick(static_cast<int>(enabled.size()))];
    Defer(menu, [menu, action] {
      menu->setActiveAction(action);
      QTest::keyClick(menu, Qt::Key_Return);
    });
  }

  template <typename Act>
  void Defer(QObject* context, Act act) {
    QTimer::singleShot(0, context, [this, act] {
      answering_ = false;
      act();
    });
    // Should the context go before the answer runs, the next dialog is answered all the same.
    connect(context, &QObject::destroyed, this, [this] { answering_ = false; });
  }

  void Fill(QWidget* dialog) {
    for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
      if (edit->isVisible() && edit->isEnabled() && Chance(50))
        edit->setText(QString::fromUtf8(kTexts[Pick(std::size(kTexts))]));
    }
    for (QPlainTextEdit* edit : dialog->findChildren<QPlainTextEdit*>()) {
      if (edit->isVisible() && !edit->isReadOnly() && Chance(40))
        edit->setPlainText(QString::fromUtf8(kTexts[Pick(std::size(kTexts))]));
    }
    for (QTextEdit* edit : dialog->findChildren<QTextEdit*>()) {
      if (edit->isVisible() && !edit->isReadOnly() && Chance(40))
        edit->setPlainText(QString::fromUtf8(kTexts[Pick(std::size(kTexts))]));
    }
    for (QSpinBox* spin : dialog->findChildren<QSpinBox*>()) {
      if (spin->isVisible() && spin->isEnabled() && Chance(40))
        spin->setValue(spin->minimum() + Pick(std::min(spin->maximum() - spin->minimum(), 64) + 1));
    }
    for (QComboBox* combo : dialog->findChildren<QComboBox*>()) {
      if (combo->isVisible() && combo->isEnabled() && combo->count() > 0 && Chance(30))
        combo->setCurrentIndex(Pick(combo->count()));
    }
    for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
      if (box->isVisible() && box->isEnabled() && Chance(25))
        box->toggle();
    }
  }

  std::mt19937& random_;
  QTimer timer_;
  bool answering_ = false;  // an answer is on its way
};

class Monkey {
 public:
  Monkey(pelkor::MainWindow& window, std::mt19937& random, const fs::path& folder)
      : window_(window), random_(random), folder_(folder) {
    for (const pelkor::CommandInfo& info : pelkor::Commands()) {
      // Leaving the window, and the printer's dialogs, which have their own tests, are not
      // the monkey's to press.
      switch (info.id) {
        case CommandId::kExit:
        case CommandId::kPrint:
        case CommandId::kPrintPreview:
        case CommandId::kPrintSetup:
        case CommandId::kRecentFile:
          break;
        default:
          commands_.push_back(info.id);
      }
    }
    for (const auto& entry : fs::directory_iterator(folder_))
      designs_.push_back(entry.path());
    window_.desktopUi().SetFileChooser(
        [this](const pelkor::FileDialogSpec& dialog) { return ChooseFile(dialog); });
  }

  // One random event; what it was, for the report of a failure.
  std::string Act() {
    QWidget* view = window_.view()->viewport();
    const int choice = Pick(100);
    if (choice < 10) {
      const CommandId tool = kTools[Pick(std::size(kTools))];
      window_.Execute(tool);
      return "tool " + std::to_string(static_cast<int>(tool));
    }
    if (choice < 35) {
      const QPoint at = Somewhere();
      QTest::mouseClick(view, Qt::LeftButton, Chance(10) ? Qt::ControlModifier : Qt::NoModifier,
                        at);
      return "click " + Text(at);
    }
    if (choice < 45) {
      const QPoint from = Somewhere();
      QPoint to = from;
      QTest::mousePress(view, Qt::LeftButton, {}, from);
      for (int step = Pick(4) + 1; step > 0; --step) {
        to += QPoint(Pick(81) - 40, Pick(81) - 40);
        QTest::mouseMove(view, to);
      }
      QTest::mouseRelease(view, Qt::LeftButton, {}, to);
      return "drag " + Text(from) + " to " + Text(to);
    }
    if (choice < 50) {
      const QPoint at = Somewhere();
      QTest::mouseDClick(view, Qt::LeftButton, {}, at);
      return "double-click " + Text(at);
    }
    if (choice < 55) {
      const QPoint at = Somewhere();
      QTest::mouseClick(view, Qt::RightButton, {}, at);
      return "right-click " + Text(at);
    }
    if (choice < 58) {
      const QPoint from = Somewhere();
      QTest::mousePress(view, Qt::MiddleButton, {}, from);
      QTest::mouseMove(view, from + QPoint(Pick(61) - 30, Pick(61) - 30));
      QTest::mouseRelease(view, Qt::MiddleButton, {}, from);
      return "pan " + Text(from);
    }
    if (choice < 60) {
      const int delta = Chance(50) ? 120 : -120;
      QWheelEvent wheel(Somewhere(), view->mapToGlobal(QPoint()), {}, {0, delta}, Qt::NoButton,
                        Chance(30) ? Qt::ControlModifier : Qt::NoModifier, Qt::NoScrollPhase,
                        false);
      QApplication::sendEvent(view, &wheel);
      return "wheel " + std::to_string(delta);
    }
    if (choice < 70) {
      const auto& [key, modifiers] = kKeys[Pick(std::size(kKeys))];
      QTest::keyClick(window_.view(), key, modifiers);
      return "key " + std::to_string(key) + " " + std::to_string(modifiers);
    }
    if (choice < 82) {
      const CommandId command = kSimulation[Pick(std::size(kSimulation))];
      window_.Execute(command);
      return "simulation " + std::to_string(static_cast<int>(command));
    }
    const CommandId command = commands_[Pick(static_cast<int>(commands_.size()))];
    window_.Execute(command);
    return "command " + std::to_string(static_cast<int>(command));
  }

 private:
  static constexpr CommandId kTools[] = {
      CommandId::kShiftRegisterTool, CommandId::kStateMachineTool, CommandId::kCounterTool,
      CommandId::kSourceTool,        CommandId::kSinkTool,         CommandId::kArcTool,
      CommandId::kModuleTool,        CommandId::kMoveTool,         CommandId::kEraserTool};
  static constexpr CommandId kSimulation[] = {
      CommandId::kCheck, CommandId::kStep, CommandId::kStep,
      CommandId::kRun,   CommandId::kStop, CommandId::kPause,
      CommandId::kUndo,  CommandId::kRedo, CommandId::kRunWithoutAnimation};
  static constexpr std::pair<Qt::Key, Qt::KeyboardModifiers> kKeys[] = {
      {Qt::Key_Delete, Qt::NoModifier}, {Qt::Key_Escape, Qt::NoModifier},
      {Qt::Key_Left, Qt::NoModifier},   {Qt::Key_Up, Qt::NoModifier},
      {Qt::Key_Right, Qt::NoModifier},  {Qt::Key_Down, Qt::NoModifier},
      {Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Z, Qt::ControlModifier},
      {Qt::Key_Y, Qt::ControlModifier}, {Qt::Key_C, Qt::ControlModifier},
      {Qt::Key_X, Qt::ControlModifier}, {Qt::Key_V, Qt::ControlModifier},
      {Qt::Key_A, Qt::NoModifier},      {Qt::Key_Shift, Qt::NoModifier}};

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  bool Chance(int percent) { return Pick(100) < percent; }
  // Mostly where designs have their objects, on the grid's points or near them.
  QPoint Somewhere() {
    if (Chance(60))
      return QPoint(40 * Pick(16) + Pick(9) - 4, 40 * Pick(10) + Pick(9) - 4);
    return QPoint(Pick(window_.view()->viewport()->width()),
                  Pick(window_.view()->viewport()->height()));
  }
  static std::string Text(QPoint p) {
    return "(" + std::to_string(p.x()) + "," + std::to_string(p.y()) + ")";
  }

  std::optional<fs::path> ChooseFile(const pelkor::FileDialogSpec& dialog) {
    const int choice = Pick(10);
    if (choice < 2)
      return std::nullopt;
    if (choice < 4)
      return folder_ / (dialog.forSaving ? "monkey.dtn" : "missing.dtn");
    if (dialog.initialName.ends_with(".bsp") || dialog.filter.find("bsp") != std::string::npos)
      return folder_ / "out.bsp";
    return designs_[Pick(static_cast<int>(designs_.size()))];
  }

  pelkor::MainWindow& window_;
  std::mt19937& random_;
  fs::path folder_;
  std::vector<CommandId> commands_;
  std::vector<fs::path> designs_;
};

// The first module of the library that breaks an invariant, described; empty when none does.
std::string BrokenModule(const pelkor::Workspace& workspace) {
  for (const auto& [name, number] : workspace.library().moduleNumbers()) {
    const std::string violation =
        pelkor::ModuleInvariantViolation(workspace.library().ModuleByName(name));
    if (!violation.empty())
      return name + ": " + violation;
  }
  return {};
}

int EnvironmentNumber(const char* name, int otherwise) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::atoi(value) : otherwise;
}

}  // namespace

class MonkeyTest : public QObject {
  Q_OBJECT

 private slots:
  void theWindowSurvivesRandomInput_data() {
    QTest::addColumn<int>("seed");
    for (const int seed : {1, 2, 3})
      QTest::addRow("seed %d", seed) << seed;
    QTest::addRow("seed from the environment") << EnvironmentNumber("PELKOR_MONKEY_SEED", 0);
  }

  void theWindowSurvivesRandomInput() {
    QFETCH(int, seed);
    if (seed == 0)
      QSKIP("PELKOR_MONKEY_SEED names no seed");
    const int events = EnvironmentNumber("PELKOR_MONKEY_EVENTS", 20000);
    QTemporaryDir temp;
    const fs::path folder = fs::path(temp.path().toStdString()) / "designs";
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(PELKOR_EXAMPLES))
      if (entry.path().extension() == ".dtn")
        fs::copy_file(entry.path(), folder / entry.path().filename());

    pelkor::MainWindow window(fs::path(temp.path().toStdString()) / "pelkor.ini");
    window.workspace().SetStepLimit(300);  // a run without animation ends soon
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.OpenDesign(folder / "full_adder.dtn");

    std::mt19937 random(static_cast<unsigned>(seed));
    DialogAnswerer answerer(random);
    Monkey monkey(window, random, folder);
    std::deque<std::string> recent;
    for (int event = 1; event <= events; ++event) {
      std::string what;
      try {
        what = monkey.Act();
        QCoreApplication::processEvents();
      } catch (const std::exception& e) {
        QFAIL(qPrintable(QString("seed %1 event %2: %3 threw %4")
                             .arg(seed)
                             .arg(event)
                             .arg(QString::fromStdString(what), e.what())));
      }
      recent.push_back(std::move(what));
      if (recent.size() > 8)
        recent.pop_front();
      const std::string broken = BrokenModule(window.workspace());
      if (!broken.empty()) {
        std::string last;
        for (const std::string& step : recent)
          last += "\n  " + step;
        QFAIL(qPrintable(QString("seed %1 event %2: %3; the last events:%4")
                             .arg(seed)
                             .arg(event)
                             .arg(QString::fromStdString(broken), QString::fromStdString(last))));
      }
    }
    UndoAndRedoEverything(window.workspace(), seed);
    SavedModulesReadBack(window.workspace(), seed);
  }

  // Found by the monkey: the dock's signals reached the window while its base class tore it
  // down.
  void aWindowWithItsWaveformsShownIsDestroyedCleanly() {
    QTemporaryDir temp;
    auto window =
        std::make_unique<pelkor::MainWindow>(fs::path(temp.path().toStdString()) / "pelkor.ini");
    window->show();
    window->Execute(CommandId::kWaveform);
    QVERIFY(window->waveform()->isVisible());
    window.reset();
  }

 private:
  // Undoing every edit of the module shown and redoing them all brings back the module as the
  // monkey left it.
  static void UndoAndRedoEverything(pelkor::Workspace& workspace, int seed) {
    workspace.EndSimulation();
    const pelkor::Module& shown = workspace.library().currentModule();
    const std::string end = pelkor::WriteModule(shown);
    int undone = 0;
    for (; workspace.Query(CommandId::kUndo).enabled; ++undone)
      workspace.Undo();
    int redone = 0;
    for (; workspace.Query(CommandId::kRedo).enabled && redone < undone; ++redone)
      workspace.Redo();
    QVERIFY2(redone == undone && pelkor::WriteModule(workspace.library().currentModule()) == end,
             qPrintable(QString("seed %1: %2 undone, %3 redone, and the module differs")
                            .arg(seed)
                            .arg(undone)
                            .arg(redone)));
  }

  // Save All writes every module of the hierarchy it can; each file it wrote reads back as the
  // module it was.
  static void SavedModulesReadBack(pelkor::Workspace& workspace, int seed) {
    workspace.EndSimulation();
    std::set<std::string> names;
    workspace.library().rootInstance().CollectNames(names);
    std::erase_if(names, [](const std::string& name) {
      return name.empty() || name.find('/') != std::string::npos || name.starts_with(".");
    });
    // Whatever file is there afterwards, Save All wrote.
    for (const std::string& name : names) {
      std::error_code error;
      fs::remove(workspace.designFolder() / (name + ".dtn"), error);
    }
    workspace.SaveAll();
    for (const std::string& name : names) {
      const fs::path file = workspace.designFolder() / (name + ".dtn");
      const std::optional<pelkor::DesignText> text = pelkor::ReadDesignFile(file);
      if (!text)
        continue;  // a name no file can have, or Save All stopped before it
      pelkor::Module read;
      try {
        pelkor::ReadModule(text->text, read);
      } catch (const std::exception& e) {
        QFAIL(qPrintable(QString("seed %1: %2 does not read back: %3")
                             .arg(seed)
                             .arg(QString::fromStdString(file.string()), e.what())));
      }
      QVERIFY2(
          pelkor::WriteModule(read) == pelkor::WriteModule(workspace.library().ModuleByName(name)),
          qPrintable(QString("seed %1: %2 reads back otherwise than it was")
                         .arg(seed)
                         .arg(QString::fromStdString(file.string()))));
    }
  }
};

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
