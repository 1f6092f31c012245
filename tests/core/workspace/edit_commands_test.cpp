// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "../support/model_invariants.h"
#include "../support/recording_log.h"
#include "../support/records.h"
#include "../support/scripted_ui.h"
#include "support/workspace_probe.h"
#include "workspace/workspace.h"

namespace pelkor {
namespace {

using testing::At;
using testing::ModuleInvariantsHold;
using testing::RecordingLog;
using testing::ScriptedUi;

ModuleInstance InstanceOf(const std::string& name, Point p = {}) {
  ModuleInstance i = At<ModuleInstance>(p);
  i.moduleName = name;
  return i;
}

class EditCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { ws.AttachLog(&log); }

  Module& module() { return testing::LibraryOf(ws).currentModule(); }
  RuntimeInstance& root() { return testing::LibraryOf(ws).rootInstance(); }

  void Select(std::initializer_list<int> ids) {
    for (int id : ids)
      module().selection.Add(module(), id);
  }

  // Places an instance of `name` in the current module the way the tools do: the model, the
  // tree and a recorded edit.
  int PlaceInstance(const std::string& name, Point p = {}) {
    const int id = module().AddInstance(InstanceOf(name, p));
    testing::LibraryOf(ws).AddInstanceEverywhere(name, id);
    module().RecordEdit();
    return id;
  }

  // Module "B" holds an instance of "C", so a node of B has a child C.
  void CreateNestedModules() {
    testing::LibraryOf(ws).CreateModule("C");
    testing::LibraryOf(ws).CreateModule("B")->AddInstance(InstanceOf("C"));
  }

  ScriptedUi ui;
  Workspace ws{ui};
  RecordingLog log;
};

TEST_F(EditCommandsTest, DeleteRemovesTheObjectsAndTheNodesOfInstances) {
  const int reg = module().AddShiftRegister({});
  const int inst = PlaceInstance("sub");
  module().AddArc(reg, inst, {}, "a");
  ASSERT_TRUE(root().children.contains(inst));
  const int rebuildsBefore = ui.treeRebuilds;

  Select({reg, inst});
  ws.DeleteSelection();

  EXPECT_EQ(module().PrimitiveCount(), 0u);
  EXPECT_TRUE(module().arcs.empty());
  EXPECT_TRUE(root().children.empty());
  EXPECT_FALSE(ws.HasSelection());
  EXPECT_TRUE(module().selection.selectedIds.empty());
  EXPECT_EQ(ui.treeRebuilds, rebuildsBefore + 1);
  EXPECT_TRUE(ModuleInvariantsHold(module()));
}

TEST_F(EditCommandsTest, CommandsNeedASelectionAndAFilledClipboard) {
  const int reg = module().AddShiftRegister(At<ShiftRegister>({37, -5}));
  EXPECT_FALSE(ws.HasSelection());

  ws.DeleteSelection();
  ws.AlignSelection(20);
  ws.Copy({});
  ws.Paste({});

  EXPECT_EQ(module().shiftRegisters.at(reg).position, (Point{37, -5}));
  EXPECT_FALSE(ws.CanPaste());
  EXPECT_EQ(module().PrimitiveCount(), 1u);
  EXPECT_FALSE(module().CanUndo());
}

TEST_F(EditCommandsTest, AlignUsesTheGivenGridSizeAndCanBeUndone) {
  const int reg = module().AddShiftRegister(At<ShiftRegister>({37, -5}));
  module().RecordEdit();
  Select({reg});
  ws.AlignSelection(20);
  EXPECT_EQ(module().shiftRegisters.at(reg).position, (Point{30, -10}));
  ws.Undo();
  EXPECT_EQ(module().shiftRegisters.at(reg).position, (Point{37, -5}));
}

TEST_F(EditCommandsTest, APastedGroupLandsAtThePastePointAtAnyZoom) {
  const int a = module().AddSource(At<SourceTransition>({-160, 140}));
  const int b = module().AddShiftRegister(At<ShiftRegister>({-100, 180}));
  module().AddArc(a, b, {{-130, 150}}, "x");
  Select({a, b});
  testing::InteractionOf(ws).anchor = {10, 10};  // pixel of (-160, 140) in the view below
  ws.Copy({{-200, 100}, 4});
  EXPECT_TRUE(ws.CanPaste());
  EXPECT_EQ(testing::LibraryOf(ws).clipboard.pasteOrigin, (Point{-160, 140}));

  // Zoomed in and scrolled elsewhere: the anchor lands on the pressed pixel's model point.
  testing::InteractionOf(ws).lastPressPoint = {500, 300};
  ws.Paste({{1000, 2000}, 1});

  ASSERT_EQ(module().sources.size(), 2u);
  EXPECT_EQ(module().sources.rbegin()->second.position, (Point{1500, 2300}));
  EXPECT_EQ(module().shiftRegisters.rbegin()->second.position, (Point{1560, 2340}));
  EXPECT_EQ(module().arcs.rbegin()->second.bends, (std::vector<Point>{{1530, 2310}}));
  EXPECT_TRUE(module().CanUndo());
  EXPECT_TRUE(ws.HasSelection());  // copy leaves the selection
  EXPECT_TRUE(ModuleInvariantsHold(module()));
}

// Once the largest int is taken, placing and pasting write why and leave the module as it was.
TEST_F(EditCommandsTest, PlacingAndPastingStopWhenNoFreshIdIsLeft) {
  module().SetNextObjectId(INT_MAX - 1);
  const int reg = module().AddShiftRegister(At<ShiftRegister>({0, 0}));
  ASSERT_TRUE(ws.ChooseTool(CommandId::kCounterTool));
  ws.MousePress({200, 200}, false);
  ws.MouseRelease({200, 200});
  ASSERT_EQ(module().KindOf(INT_MAX), kCounterKind);
  EXPECT_TRUE(log.lines.empty());

  ws.MousePress({300, 200}, false);
  ws.MouseRelease({300, 200});
  Select({reg});
  ws.Copy({});
  ws.Paste({});
  EXPECT_EQ(module().PrimitiveCount(), 2u);
  EXPECT_EQ(module().KindOf(INT_MAX), kCounterKind);
  EXPECT_EQ(log.lines, (std::vector<std::string>(2, kNoObjectIdLeft)));
  EXPECT_TRUE(ModuleInvariantsHold(module()));
}

TEST_F(EditCommandsTest, CutThenPasteMovesAnInstanceWithItsWholeSubtree) {
  CreateNestedModules();
  const int inst = PlaceInstance("B");
  // The tree as loading builds it: untitle -> B -> C.
  testing::LibraryOf(ws).ExpandInstance(1, "C", *root().children.at(inst));
  Select({inst});

  ws.Cut({});
  EXPECT_TRUE(root().children.empty());
  EXPECT_TRUE(module().instances.empty());
  EXPECT_TRUE(ws.CanPaste());
  EXPECT_FALSE(ws.HasSelection());

  ws.Paste({});
  ASSERT_EQ(module().instances.size(), 1u);
  const int pasted = module().instances.begin()->first;
  EXPECT_NE(pasted, inst);
  ASSERT_TRUE(root().children.contains(pasted));
  const RuntimeInstance& node = *root().children.at(pasted);
  EXPECT_EQ(node.name, "B");
  ASSERT_TRUE(node.children.contains(1));
  EXPECT_EQ(node.children.at(1)->name, "C");
  EXPECT_FALSE(module().instances.at(pasted).absent);
}

TEST_F(EditCommandsTest, AnInstancePastedIntoItsOwnModuleIsNotExpanded) {
  testing::LibraryOf(ws).CreateModule("sub");
  const int inst = PlaceInstance("sub");
  Select({inst});
  ws.Copy({});
  testing::LibraryOf(ws).EnterInstance(inst, "sub", nullptr);
  ASSERT_EQ(testing::LibraryOf(ws).currentInstance().name, "sub");

  ws.Paste({});

  const RuntimeInstance& sub = testing::LibraryOf(ws).currentInstance();
  const int pasted = module().instances.begin()->first;
  EXPECT_TRUE(sub.children.empty());
  EXPECT_TRUE(sub.dynamicHost);
  EXPECT_EQ(sub.dynamicHostInstance, pasted);
  EXPECT_TRUE(module().instances.at(pasted).absent);
}

TEST_F(EditCommandsTest, UndoRestoresTheModuleAndKeepsTheTreeInStep) {
  CreateNestedModules();
  const int kept = PlaceInstance("B");
  testing::LibraryOf(ws).ExpandInstance(1, "C", *root().children.at(kept));
  const int undone = PlaceInstance("C");
  ASSERT_TRUE(root().children.contains(undone));
  const int rebuildsBefore = ui.treeRebuilds;

  ws.Undo();

  EXPECT_FALSE(module().instances.contains(undone));
  EXPECT_FALSE(root().children.contains(undone));
  // The surviving instance's node keeps the nodes below it.
  ASSERT_TRUE(root().children.contains(kept));
  EXPECT_TRUE(root().children.at(kept)->children.contains(1));
  EXPECT_EQ(log.lines, (std::vector<std::string>{"undo!!"}));
  EXPECT_EQ(ui.treeRebuilds, rebuildsBefore + 1);
}

TEST_F(EditCommandsTest, UndoWithNothingRecordedChangesNothingAndSaysNothing) {
  module().AddShiftRegister({});
  module().ResetHistory();  // as after a file was read
  const Module before = module();

  ws.Undo();

  EXPECT_TRUE(module().SameContent(before));
  EXPECT_TRUE(log.lines.empty());
}

TEST_F(EditCommandsTest, UndoIsEnabledOnlyWhileTheHistoryHoldsAStep) {
  auto undoEnabled = [this] { return ws.Query(CommandId::kUndo).enabled; };
  EXPECT_FALSE(undoEnabled());  // nothing done yet
  module().AddShiftRegister({});
  module().RecordEdit();
  EXPECT_TRUE(undoEnabled());
  ws.Undo();
  EXPECT_FALSE(undoEnabled());  // back at the state before the first edit
  module().AddShiftRegister({});
  module().RecordEdit();
  ws.Check();
  ASSERT_TRUE(ws.IsSimulating());
  EXPECT_FALSE(undoEnabled());
}

TEST_F(EditCommandsTest, DuringASimulationUndoAndTheEditsThatChangeTheModuleDoNothing) {
  const int reg = module().AddShiftRegister(At<ShiftRegister>({37, -5}));
  module().RecordEdit();
  module().AddShiftRegister({});
  module().RecordEdit();
  Select({reg});
  ws.Copy({});
  ws.Check();
  ASSERT_TRUE(ws.IsSimulating());
  const Module& shown = module();
  ASSERT_EQ(&shown, &testing::LibraryOf(ws).ModuleByName("untitle"));  // the design is shown
  log.lines.clear();

  ws.Undo();
  testing::InteractionOf(ws).lastPressPoint = {5, 5};
  ws.Paste({});
  Select({reg});
  ws.AlignSelection(20);
  ws.DeleteSelection();
  ws.Cut({});

  EXPECT_TRUE(log.lines.empty());
  EXPECT_EQ(shown.PrimitiveCount(), 2u);
  EXPECT_EQ(shown.shiftRegisters.at(reg).position, (Point{37, -5}));
  EXPECT_EQ(shown.UndoDepth(), 2u);
}

}  // namespace
}  // namespace pelkor
