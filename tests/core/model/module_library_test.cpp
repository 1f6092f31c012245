// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/module_library.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "support/prepared_set.h"
#include "support/recording_log.h"

namespace pelkor {
namespace {

class ModuleLibraryTest : public ::testing::Test {
 protected:
  ModuleLibraryTest() { log.Attach(&sink); }

  // Adds an instance of `moduleName` to the module `host` and returns its ID.
  int PlaceInstance(const std::string& host, const std::string& moduleName) {
    ModuleInstance instance;
    instance.moduleName = moduleName;
    return library.ModuleByName(host).AddInstance(instance);
  }

  OutputLog log;
  testing::RecordingLog sink;
  ModuleLibrary library{log};
};

TEST_F(ModuleLibraryTest, StartsWithUntitleAtTheRoot) {
  EXPECT_EQ(library.moduleNumbers(), (std::map<std::string, int>{{"untitle", 0}}));
  EXPECT_EQ(library.rootInstance().name, "untitle");
  EXPECT_EQ(&library.currentInstance(), &library.rootInstance());
  EXPECT_EQ(&library.currentModule(), &library.ModuleByName("untitle"));
  EXPECT_NE(library.rootInstance().treeItem, 0u);
}

TEST_F(ModuleLibraryTest, RenameKeepsTheDesignAndTheNodesButNeverLeavesAnInstanceBehind) {
  library.currentModule().AddShiftRegister({});
  ASSERT_TRUE(library.RenameModule("untitle", "top"));
  EXPECT_FALSE(library.Exists("untitle"));
  EXPECT_EQ(library.ModuleByName("top").PrimitiveCount(), 1u);
  EXPECT_EQ(library.rootInstance().name, "top");
  EXPECT_EQ(&library.currentModule(), &library.ModuleByName("top"));

  library.CreateModule("sub");
  PlaceInstance("top", "sub");
  EXPECT_FALSE(library.RenameModule("sub", "other"));  // "top" names it
  EXPECT_FALSE(library.RenameModule("top", "sub"));    // taken
  EXPECT_FALSE(library.RenameModule("none", "x"));
  EXPECT_TRUE(library.RenameModule("top", "top"));
  EXPECT_EQ(library.moduleNumbers(), (std::map<std::string, int>{{"sub", 1}, {"top", 0}}));
}

TEST_F(ModuleLibraryTest, CreateModuleNumbersByCountAndRefusesTakenNames) {
  EXPECT_NE(library.CreateModule("A"), nullptr);
  EXPECT_NE(library.CreateModule("B"), nullptr);
  EXPECT_EQ(library.CreateModule("A"), nullptr);
  EXPECT_EQ(library.moduleNumbers().at("B"), 2);
  EXPECT_TRUE(library.Exists("A"));
  EXPECT_FALSE(library.Exists("C"));

  library.ModuleByName("A").AddShiftRegister({});
  Module copy = library.CopyModuleByName("A");
  copy.AddShiftRegister({});
  EXPECT_EQ(library.ModuleByName("A").PrimitiveCount(), 1u);

  library.Reset();
  EXPECT_FALSE(library.Exists("A"));
  EXPECT_EQ(library.modules().size(), 1u);
}

TEST_F(ModuleLibraryTest, ExpandInstanceRefusesToRepeatAnEnclosingModule) {
  library.rootInstance().name = "A";
  RuntimeInstance* b = library.ExpandInstance(3, "B", library.rootInstance());
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->parent, &library.rootInstance());
  EXPECT_EQ(b->instanceNumber, 3);
  EXPECT_EQ(&library.rootInstance().Child(3), b);

  EXPECT_EQ(library.ExpandInstance(7, "A", *b), nullptr);
  EXPECT_TRUE(b->dynamicHost);
  EXPECT_EQ(b->dynamicHostInstance, 7);
  EXPECT_TRUE(b->children.empty());
  EXPECT_TRUE(b->RepeatsName("A"));
  EXPECT_FALSE(library.rootInstance().RepeatsName("B"));
}

TEST_F(ModuleLibraryTest, EnterInstanceAndGoUp) {
  library.CreateModule("B");
  const int id = PlaceInstance("untitle", "B");
  library.ExpandInstance(id, "B", library.rootInstance());

  library.GoUp();  // at the root: nothing happens
  EXPECT_EQ(&library.currentInstance(), &library.rootInstance());

  library.EnterInstance(id, "B", nullptr);
  EXPECT_EQ(library.currentInstance().name, "B");
  EXPECT_EQ(&library.currentModule(), &library.ModuleByName("B"));

  library.EnterInstance(5, "B", nullptr);  // the node shown is already B
  EXPECT_EQ(sink.lines, std::vector<std::string>{"再帰です"});

  library.GoUp();
  EXPECT_EQ(&library.currentInstance(), &library.rootInstance());
  EXPECT_EQ(&library.currentModule(), &library.ModuleByName("untitle"));

  try {
    library.EnterInstance(99, "B", nullptr);
    FAIL();
  } catch (const MessageError& e) {
    EXPECT_STREQ(e.what(), "モジュールがありません");
  }
  testing::PreparedSet running;
  try {
    library.EnterInstance(id, "B", &running);  // simulating, but the node is not prepared yet
    FAIL();
  } catch (const MessageError& e) {
    EXPECT_STREQ(e.what(), "まだモジュールが作成されていません");
  }
  running.nodes.insert(&library.rootInstance().Child(id));
  library.EnterInstance(id, "B", &running);
  EXPECT_EQ(&library.currentModule(), &library.ModuleByName("B"));
}

TEST_F(ModuleLibraryTest, GoToTreeItemSkipsDeletedNodesAndInstanceDeletedMovesUp) {
  library.CreateModule("B");
  library.CreateModule("C");
  RuntimeInstance* b = library.ExpandInstance(1, "B", library.rootInstance());
  RuntimeInstance* c = library.ExpandInstance(2, "C", *b);

  library.GoToTreeItem(c->treeItem);
  EXPECT_EQ(&library.currentInstance(), c);
  library.GoToTreeItem(12345);  // unknown item: nothing changes
  EXPECT_EQ(&library.currentInstance(), c);

  c->deleted = true;
  library.GoToTreeItem(library.rootInstance().treeItem);
  library.GoToTreeItem(c->treeItem);
  EXPECT_EQ(&library.currentInstance(), &library.rootInstance());

  c->deleted = false;
  library.GoToTreeItem(c->treeItem);
  library.InstanceDeleted(b->treeItem);  // an ancestor of the node shown is deleted
  EXPECT_EQ(&library.currentInstance(), &library.rootInstance());
  EXPECT_EQ(sink.lines, std::vector<std::string>{"モジュールがdeleteされたのでviewを変更します"});
}

TEST_F(ModuleLibraryTest, InstancesAreAddedAndRemovedInEveryNodeOfTheHostModule) {
  // untitle -> (B, B): both B nodes gain and lose the new child together.
  library.CreateModule("B");
  library.CreateModule("C");
  RuntimeInstance* b1 = library.ExpandInstance(1, "B", library.rootInstance());
  RuntimeInstance* b2 = library.ExpandInstance(2, "B", library.rootInstance());
  library.EnterInstance(1, "B", nullptr);

  library.AddInstanceEverywhere("C", 4);
  EXPECT_EQ(b1->Child(4).name, "C");
  EXPECT_EQ(b2->Child(4).name, "C");
  library.AddInstanceEverywhere("untitle", 5);  // would repeat the root
  EXPECT_TRUE(b1->dynamicHost);
  EXPECT_EQ(b2->dynamicHostInstance, 5);
  EXPECT_FALSE(b1->children.contains(5));

  library.RemoveInstanceEverywhere(4);
  EXPECT_TRUE(b1->children.empty());
  EXPECT_TRUE(b2->children.empty());
  std::set<std::string> names;
  library.rootInstance().CollectNames(names);
  EXPECT_EQ(names, (std::set<std::string>{"B", "untitle"}));
}

TEST_F(ModuleLibraryTest, NewAndDeleteFlagsFollowTheSourcesOfTheInstancedModule) {
  library.CreateModule("dyn");
  library.CreateModule("other");
  SourceTransition source;
  source.name = "new";
  library.ModuleByName("dyn").AddSource(source);
  const int inRoot = PlaceInstance("untitle", "dyn");
  const int inOther = PlaceInstance("other", "dyn");
  const int unrelated = PlaceInstance("other", "untitle");

  library.RefreshNewDeleteFlags();
  EXPECT_TRUE(library.ModuleByName("untitle").instances.at(inRoot).hasNewArc);
  EXPECT_TRUE(library.ModuleByName("other").instances.at(inOther).hasNewArc);
  EXPECT_FALSE(library.ModuleByName("other").instances.at(inOther).hasDeleteArc);
  EXPECT_FALSE(library.ModuleByName("other").instances.at(unrelated).hasNewArc);

  library.ModuleByName("dyn").sources.clear();
  library.RefreshNewDeleteFlags();  // never clears a flag
  EXPECT_TRUE(library.ModuleByName("untitle").instances.at(inRoot).hasNewArc);
  library.ClearNewFlag("dyn");
  EXPECT_FALSE(library.ModuleByName("other").instances.at(inOther).hasNewArc);
  library.SetDeleteFlag("dyn");
  EXPECT_TRUE(library.ModuleByName("untitle").instances.at(inRoot).hasDeleteArc);
}

TEST_F(ModuleLibraryTest, SyncAfterUndoRebuildsTheChildrenOfTheHost) {
  library.CreateModule("B");
  library.CreateModule("C");
  const int b = PlaceInstance("untitle", "B");
  library.AddInstanceEverywhere("B", b);
  const std::map<int, ModuleInstance> before = library.currentModule().instances;

  // The undo put back a module whose only instance is an instance of C under a new ID.
  library.currentModule().instances.clear();
  ModuleInstance c;
  c.moduleName = "C";
  library.currentModule().instances[9] = c;
  library.SyncAfterUndo(before);
  EXPECT_FALSE(library.rootInstance().children.contains(b));
  EXPECT_EQ(library.rootInstance().Child(9).name, "C");
}

}  // namespace
}  // namespace pelkor
