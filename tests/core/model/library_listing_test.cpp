// SPDX-License-Identifier: GPL-3.0-or-later
// What the module tree window and the module manager list from the library.
#include <gtest/gtest.h>

#include "model/module_library.h"
#include "model/module_manager_entries.h"
#include "model/module_tree_rows.h"
#include "support/prepared_set.h"
#include "support/recording_log.h"

namespace pelkor {
namespace {

class LibraryListingTest : public ::testing::Test {
 protected:
  LibraryListingTest() {
    log.Attach(&sink);
    // root "untitle" with children 2 -> A (which holds 1 -> C) and 5 -> B.
    RuntimeInstance& root = library.rootInstance();
    a = library.ExpandInstance(2, "A", root);
    b = library.ExpandInstance(5, "B", root);
    c = library.ExpandInstance(1, "C", *a);
  }

  OutputLog log;
  testing::RecordingLog sink;
  ModuleLibrary library{log};
  RuntimeInstance* a = nullptr;
  RuntimeInstance* b = nullptr;
  RuntimeInstance* c = nullptr;
};

TEST_F(LibraryListingTest, TreeRowsRunDepthFirstInInstanceOrder) {
  const TreeItem root = library.rootInstance().treeItem;
  const ModuleTree tree = BuildModuleTree(library, nullptr);
  EXPECT_EQ(tree.rows, (std::vector<ModuleTreeRow>{{root, 0, "untitle", "untitle"},
                                                   {a->treeItem, root, "A", "2:A"},
                                                   {c->treeItem, a->treeItem, "C", "1:C"},
                                                   {b->treeItem, root, "B", "5:B"}}));
  EXPECT_EQ(tree.current, root);
}

TEST_F(LibraryListingTest, AnInstancePathNamesEachInstanceFromTheRoot) {
  EXPECT_EQ(InstancePath(library.rootInstance()), "untitle");
  EXPECT_EQ(InstancePath(*b), "untitle / 5:B");
  EXPECT_EQ(InstancePath(*c), "untitle / 2:A / 1:C");
}

TEST_F(LibraryListingTest, WhileSimulatingUnpreparedNodesAreHiddenWithTheirSubtrees) {
  testing::PreparedSet running;
  running.nodes = {a, b};  // C, below A, has not been created yet
  EXPECT_EQ(BuildModuleTree(library, &running).rows.size(), 3u);
  running.nodes = {b, c};  // A deleted: C goes with it, even once it is prepared
  const ModuleTree tree = BuildModuleTree(library, &running);
  ASSERT_EQ(tree.rows.size(), 2u);
  EXPECT_EQ(tree.rows[1].name, "B");
  EXPECT_EQ(BuildModuleTree(library, nullptr).rows.size(), 4u);  // outside a run all appear
}

TEST_F(LibraryListingTest, CurrentItemIsTheShownInstanceWhenItHasARow) {
  library.CreateModule("C");
  library.GoToTreeItem(c->treeItem);
  EXPECT_EQ(BuildModuleTree(library, nullptr).current, c->treeItem);
  // A node shown while it is hidden would have no row to select.
  const testing::PreparedSet running;
  EXPECT_EQ(BuildModuleTree(library, &running).current, 0u);
}

TEST_F(LibraryListingTest, AModuleIsFoundAtTheCurrentRowElseAtItsFirstRow) {
  RuntimeInstance* secondC = library.ExpandInstance(3, "C", *b);
  const ModuleTree tree = BuildModuleTree(library, nullptr);
  EXPECT_EQ(FindModuleRow(tree, "C"), c->treeItem);  // the first from the top
  EXPECT_EQ(FindModuleRow(tree, "untitle"), library.rootInstance().treeItem);
  EXPECT_EQ(FindModuleRow(tree, "D"), 0u);
  EXPECT_EQ(FindModuleRow(tree, "c"), 0u);  // names are matched exactly
  library.CreateModule("C");
  library.GoToTreeItem(secondC->treeItem);
  EXPECT_EQ(FindModuleRow(BuildModuleTree(library, nullptr), "C"), secondC->treeItem);
  // While simulating, a node not yet prepared has no row to show.
  library.GoToTreeItem(library.rootInstance().treeItem);
  testing::PreparedSet prepared;
  prepared.nodes = {&library.rootInstance(), b, secondC};
  const ModuleTree running = BuildModuleTree(library, &prepared);
  EXPECT_EQ(FindModuleRow(running, "C"), secondC->treeItem);
  EXPECT_EQ(FindModuleRow(running, "A"), 0u);
}

TEST_F(LibraryListingTest, ManagerListsModulesInNameOrderWithTheirCountsAndTheRoot) {
  for (const char* name : {"zeta", "Alpha", "beta"})
    library.CreateModule(name);
  Module& beta = library.ModuleByName("beta");
  const int r1 = beta.AddShiftRegister({});
  const int r2 = beta.AddShiftRegister({});
  const int m = beta.AddStateMachine({});
  beta.AddArc(r1, m, {}, "");
  beta.AddArc(m, r2, {}, "");
  library.rootInstance().name = "beta";

  EXPECT_EQ(
      BuildModuleManagerEntries(library),
      (std::vector<ModuleManagerEntry>{
          {"Alpha", 0, false}, {"beta", 3, true}, {"untitle", 0, false}, {"zeta", 0, false}}));
}

TEST(FirstCharactersTest, CutsAtCharacterBoundaries) {
  const std::string kana = "モ";  // three bytes
  struct Case {
    std::string text;
    std::size_t length;
    std::string expected;
  };
  for (const Case& c : {Case{std::string(300, 'x'), 254, std::string(254, 'x')},
                        Case{std::string(254, 'x'), 254, std::string(254, 'x')},
                        Case{"ab" + kana + "cd", 3, "ab" + kana}, Case{kana + kana, 1, kana},
                        Case{"\x80\x80"
                             "ab",
                             1,
                             "\x80\x80"
                             "a"},  // stray continuation bytes
                        Case{"", 5, ""}}) {
    EXPECT_EQ(FirstCharacters(c.text, c.length), c.expected) << c.text;
  }
}

TEST_F(LibraryListingTest, ManagerCutsLongNamesTo254Characters) {
  std::string name;
  for (int i = 0; i < 300; ++i)
    name += "名";
  library.CreateModule(name);
  const auto entries = BuildModuleManagerEntries(library);
  std::string expected;
  for (int i = 0; i < 254; ++i)
    expected += "名";
  EXPECT_EQ(entries.back().name, expected);
}

}  // namespace
}  // namespace pelkor
