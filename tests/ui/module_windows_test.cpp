// SPDX-License-Identifier: GPL-3.0-or-later
// The module tree window and the module manager.
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "dialog_driver.h"
#include "model/module_manager_entries.h"
#include "model/module_tree_rows.h"
#include "support/workspace_probe.h"
#include "ui/module_manager_dialog.h"
#include "ui/module_tree_window.h"
#include "workspace/workspace.h"

using namespace pelkor;

namespace {

QStringList Texts(QTreeWidgetItem* item) {
  QStringList texts{item->text(0)};
  for (int i = 0; i < item->childCount(); ++i)
    texts += Texts(item->child(i));
  return texts;
}

// The desktop's answers to the workspace, as far as the tree window goes: it opens and closes
// the window, rebuilds it when the hierarchy changes and moves the view when a node is picked.
class TreeWindowUi : public WorkspaceUi {
 public:
  std::optional<std::filesystem::path> ChooseFile(const FileDialogSpec&) override {
    return std::nullopt;
  }
  void Changed(ChangeSet changes) override {
    if (!window)
      return;
    if (changes.Has(Change::kTree))
      window->rebuild(BuildModuleTree(workspace->library(), Running()));
    if (changes.HasAny(Change::kTree | Change::kView))
      window->selectItem(workspace->library().currentInstance().treeItem);
  }
  bool IsModuleTreeOpen() const override { return window != nullptr; }
  void OpenModuleTree() override {
    window = std::make_unique<ModuleTreeWindow>();
    QObject::connect(window.get(), &ModuleTreeWindow::itemPicked,
                     [this](TreeItem item) { workspace->GoToTreeItem(item); });
    window->rebuild(BuildModuleTree(workspace->library(), Running()));
    window->show();
  }
  void CloseModuleTree() override { window.reset(); }
  const PreparedNodes* Running() const {
    return workspace->IsSimulating() ? &workspace->simulation() : nullptr;
  }

  Workspace* workspace = nullptr;
  std::unique_ptr<ModuleTreeWindow> window;
};

// examples/dynamic_pipe.dtn opened in a workspace with a tree window: the top module holds
// one "pipe" instance that a "new" token creates and a "delete" token deletes.
struct DynamicPipe {
  DynamicPipe() {
    ui.workspace = &workspace;
    opened = workspace.OpenFile(QString(PELKOR_EXAMPLES "/dynamic_pipe.dtn").toStdString());
  }

  TreeWindowUi ui;
  Workspace workspace{ui};
  OpenResult opened = OpenResult::kCannotOpen;
};

}  // namespace

class ModuleWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void treeShowsRowsSelectsAndExpandsTheCurrentItem() {
    ModuleTreeWindow window;
    QCOMPARE(window.windowTitle(), QString("モジュールツリー"));
    QSignalSpy picks(&window, &ModuleTreeWindow::itemPicked);
    window.rebuild(
        {{{1, 0, "top", "top"}, {2, 1, "A", "2:A"}, {3, 2, "C", "1:C"}, {4, 1, "A", "7:A"}}, 2});

    QTreeWidget* tree = window.tree();
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(Texts(tree->topLevelItem(0)), (QStringList{"top", "2:A", "1:C", "7:A"}));
    QCOMPARE(tree->currentItem()->text(0), QString("2:A"));
    QVERIFY(tree->currentItem()->isExpanded());
    QVERIFY(tree->topLevelItem(0)->isExpanded());
    // Rebuilding reports the current node once, as a pick of the node already shown.
    QCOMPARE(picks.size(), 1);
    QCOMPARE(picks.takeFirst().at(0).value<TreeItem>(), TreeItem{2});

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTreeWidgetItem* b = tree->topLevelItem(0)->child(1);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(b).center());
    QCOMPARE(picks.size(), 1);
    QCOMPARE(picks.takeFirst().at(0).value<TreeItem>(), TreeItem{4});

    window.selectItem(4);  // already selected: no pick
    window.selectItem(99);
    QCOMPARE(picks.size(), 0);
  }

  void treeOnlyAsksToBeClosed() {
    ModuleTreeWindow window;
    QSignalSpy requests(&window, &ModuleTreeWindow::closeRequested);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.close();
    QTest::keyClick(&window, Qt::Key_Escape);
    QCOMPARE(requests.size(), 2);
    QVERIFY(window.isVisible());
  }

  void treeFollowsInstancesCreatedAndDeletedByTheRun() {
    DynamicPipe design;
    QCOMPARE(design.opened, OpenResult::kOpened);
    TreeWindowUi& ui = design.ui;
    Workspace& workspace = design.workspace;
    workspace.Check();
    QVERIFY(ui.window != nullptr);  // the check opens the tree

    // While running, the instance has a node only from its "new" to its "delete".
    QList<int> rowCounts{ui.window->tree()->topLevelItem(0)->childCount()};
    for (int step = 0; step < 40 && workspace.IsSimulating(); ++step) {
      workspace.Step();
      const int count = ui.window->tree()->topLevelItem(0)->childCount();
      if (count != rowCounts.back())
        rowCounts.append(count);
      QCOMPARE(ui.window->tree()->currentItem()->text(0), QString("dynamic_pipe"));
    }
    QCOMPARE(rowCounts, (QList<int>{0, 1, 0}));

    workspace.EndSimulation();
    QVERIFY(ui.window == nullptr);  // and the end of the run closes what the check opened
  }

  void pickingANodeShowsItsModule() {
    DynamicPipe design;
    QCOMPARE(design.opened, OpenResult::kOpened);
    Workspace& workspace = design.workspace;
    design.ui.OpenModuleTree();  // outside a run every node appears
    QTreeWidget* tree = design.ui.window->tree();
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    QCOMPARE(pelkor::testing::LibraryOf(workspace).currentInstance().name, std::string("pipe"));
    workspace.GoUp();
    QCOMPARE(tree->currentItem(), tree->topLevelItem(0));
  }

  void managerListsModulesWithCountsAndTheRoot() {
    const std::string longName(300, 'm');
    const std::vector<ModuleManagerEntry> entries = {
        {"adder", 3, true}, {"pipe", 0, false}, {FirstCharacters(longName, 254), 1, false}};
    QStringList shown;
    ModuleManagerDialog dialog(entries, [&shown](const std::string& name) {
      shown << QString::fromStdString(name);
      return name == "pipe";
    });
    QCOMPARE(dialog.windowTitle(), QString("モジュールマネージャ"));
    QTableWidget* list = dialog.list();
    QCOMPARE(list->columnCount(), 3);
    QCOMPARE(list->horizontalHeaderItem(0)->text(), QString("Module"));
    QCOMPARE(list->horizontalHeaderItem(1)->text(), QString("Object"));
    QCOMPARE(list->horizontalHeaderItem(2)->text(), QString("Option"));
    QCOMPARE(list->rowCount(), 3);
    QCOMPARE(list->item(0, 1)->text(), QString("3"));
    QCOMPARE(list->item(0, 2)->text(), QString("ROOT"));
    QCOMPARE(list->item(1, 2)->text(), QString(""));
    QCOMPARE(list->item(2, 0)->text().size(), 254);

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QRect second = list->visualItemRect(list->item(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(dialog.nameEdit()->text(), QString("pipe"));
    list->setCurrentCell(0, 0);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(dialog.nameEdit()->text(), QString("adder"));
    QVERIFY(dialog.isVisible());  // Enter on a row only fills the edit

    // "表示" shows the module named in the edit, or says that none of that name is loaded.
    testing::RecordedMessages messages;
    dialog.nameEdit()->setText("pipe");
    testing::Click(&dialog, "showButton");
    QCOMPARE(shown, QStringList{"pipe"});
    QVERIFY(messages.texts.isEmpty());
    dialog.nameEdit()->setText("adder");
    testing::Click(&dialog, "showButton");
    QCOMPARE(messages.texts, QStringList{"モジュール「adder」は読み込まれていません"});
    QVERIFY(dialog.isVisible());

    dialog.nameEdit()->setFocus();
    QTest::keyClick(dialog.nameEdit(), Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }
};

QTEST_MAIN(ModuleWindowsTest)
#include "module_windows_test.moc"
