// SPDX-License-Identifier: GPL-3.0-or-later
// The main window keeps recovery copies on its timer and asks at start what to do with those a
// program that did not end cleanly left.
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "dialog_driver.h"
#include "files/design_file.h"
#include "support/workspace_probe.h"
#include "ui/main_window.h"
#include "ui/recovery_dialog.h"

namespace fs = std::filesystem;

namespace {

class NoDialogs : public pelkor::WorkspaceUi {
 public:
  std::optional<fs::path> ChooseFile(const pelkor::FileDialogSpec&) override {
    return std::nullopt;
  }
};

// Places a register in the module shown and records the edit, as the tools do.
void PlaceRegister(pelkor::Workspace& workspace, pelkor::Point at) {
  pelkor::Module& module = pelkor::testing::LibraryOf(workspace).currentModule();
  pelkor::ShiftRegister shiftRegister;
  shiftRegister.position = at;
  module.AddShiftRegister(shiftRegister);
  module.RecordEdit();
}

}  // namespace

class RecoveryWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir temp_;
  fs::path folder(const char* name) const {
    return fs::path(temp_.path().toStdString()) / QTest::currentTestFunction() / name;
  }
  std::unique_ptr<pelkor::MainWindow> window() const {
    return std::make_unique<pelkor::MainWindow>(folder("pelkor.ini"));
  }
  // A program that opened `top.dtn`, changed it, wrote its copies and died; what it drew.
  std::string LeaveASession() const {
    fs::create_directories(folder("design"));
    std::ofstream(folder("design") / "top.dtn") << "//pelkor file\nshift[1,0,0,0,1,2]{\n}\n";
    NoDialogs ui;
    pelkor::Workspace crashed(ui);
    crashed.EnableRecovery(folder("recovery"));
    crashed.OpenFile(folder("design") / "top.dtn");
    PlaceRegister(crashed, {120, 40});
    crashed.WriteRecoveryCopies();
    return pelkor::WriteModule(crashed.library().currentModule());
  }

 private slots:
  // An edit made in the window is copied once the interval has passed; undoing it drops the
  // copy, and closing the window ends the session cleanly.
  void theTimerCopiesChangesAndACleanCloseLeavesNothing() {
    auto w = window();
    w->show();
    QVERIFY(!w->StartRecovery(folder("recovery"), 50));
    const pelkor::CrashRecovery* recovery = w->workspace().recovery();
    QVERIFY(recovery != nullptr);
    const fs::path copy = recovery->sessionFolder() / pelkor::CopyFileName("untitle");

    w->workspace().ChooseTool(pelkor::CommandId::kShiftRegisterTool);
    w->workspace().MousePress({100, 100});
    w->workspace().MouseRelease({100, 100});
    QCOMPARE(w->workspace().library().currentModule().shiftRegisters.size(), 1u);
    QVERIFY(!fs::exists(copy));
    QTRY_VERIFY(fs::exists(copy));

    w->workspace().Undo();
    QVERIFY(!fs::exists(copy));
    const fs::path session = recovery->sessionFolder();
    QVERIFY(w->close());
    QVERIFY(!fs::exists(session));
    QVERIFY(pelkor::FindAbandonedSessions(folder("recovery")).empty());
  }

  // The dialog lists the modules left; each answer does what it says.
  void theRestoreQuestionListsTheModulesAndEachAnswerHolds() {
    const struct {
      const char* button;
      bool restored;
      bool sessionStays;
    } cases[] = {{"restore", true, false}, {"keep", false, true}, {"discard", false, false}};
    for (const auto& c : cases) {
      fs::remove_all(folder(""));
      const std::string drawn = LeaveASession();
      auto w = window();
      w->show();
      int rows = 0;
      QString module;
      pelkor::testing::WhenModal([&](QDialog* dialog) {
        auto* table = pelkor::testing::Find<QTableWidget>(dialog, "modules");
        rows = table->rowCount();
        module = table->item(0, 0)->text();
        pelkor::testing::Click(dialog, c.button);
      });
      QCOMPARE(w->StartRecovery(folder("recovery")), c.restored);
      QCOMPARE(rows, 1);
      QCOMPARE(module, QString("top"));
      QCOMPARE(pelkor::FindAbandonedSessions(folder("recovery")).size(), c.sessionStays ? 1u : 0u);
      const pelkor::Workspace& workspace = w->workspace();
      if (c.restored) {
        QCOMPARE(pelkor::WriteModule(workspace.library().currentModule()), drawn);
        QVERIFY(w->windowTitle().startsWith("top*"));
        // The restored changes are this program's to keep safe now.
        QVERIFY(fs::exists(workspace.recovery()->sessionFolder() / "top.dtn"));
      } else {
        QCOMPARE(workspace.library().currentModule().PrimitiveCount(), 0);
      }
    }
  }
};

QTEST_MAIN(RecoveryWindowTest)
#include "recovery_window_test.moc"
