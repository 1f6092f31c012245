// SPDX-License-Identifier: GPL-3.0-or-later
// Where the view stands when another module is shown, and the fit command.
#include <gtest/gtest.h>

#include <iterator>
#include <set>

#include "support/scripted_ui.h"
#include "support/workspace_probe.h"
#include "workspace/workspace.h"

namespace pelkor {
namespace {

class ViewFramingTest : public ::testing::Test {
 protected:
  ViewFramingTest() {
    ws.ResizeView(640, 480);
    EXPECT_EQ(ws.OpenFile(std::filesystem::path(PELKOR_EXAMPLES) / "double_inverter.dtn"),
              OpenResult::kOpened);
  }

  // Far from every object, at another zoom level.
  void ScrollAway() {
    ws.Execute(CommandId::kZoomIn);
    ws.ScrollView(ScrollAxis::kHorizontal, ScrollRequest::kThumbTrack, 90000);
    ws.ScrollView(ScrollAxis::kVertical, ScrollRequest::kThumbTrack, -90000);
    ASSERT_EQ(ObjectsInSight(), 0u);
  }

  // How many of the shown module's primitives have their position in the client area.
  std::size_t ObjectsInSight() {
    const ViewState& view = testing::ViewOf(ws);
    const Module& module = ws.library().currentModule();
    std::size_t inSight = 0;
    const auto count = [&](const auto& records) {
      for (const auto& [id, record] : records) {
        const Point pixel = view.viewport().ToScreen(record.position);
        inSight += pixel.x >= 0 && pixel.y >= 0 && pixel.x < view.width && pixel.y < view.height;
      }
    };
    count(module.shiftRegisters);
    count(module.stateMachines);
    count(module.counters);
    count(module.instances);
    count(module.sources);
    count(module.sinks);
    return inSight;
  }

  testing::ScriptedUi ui;
  Workspace ws{ui};
};

TEST_F(ViewFramingTest, EveryModuleShownStartsAtItsObjects) {
  EXPECT_GT(ObjectsInSight(), 0u) << "opened";
  ScrollAway();
  const RuntimeInstance& root = ws.library().rootInstance();
  ws.GoToTreeItem(root.children.begin()->second->treeItem);
  EXPECT_EQ(ws.library().currentInstance().name, "inverter");
  EXPECT_GT(ObjectsInSight(), 0u) << "picked in the tree";
  ScrollAway();
  ws.Execute(CommandId::kUpperModule);
  EXPECT_GT(ObjectsInSight(), 0u) << "up one module";
  // Staying in the module keeps the view where the user put it.
  ScrollAway();
  ws.Execute(CommandId::kShowObjectIds);
  EXPECT_EQ(ObjectsInSight(), 0u);
}

TEST_F(ViewFramingTest, FitShowsEveryObject) {
  ScrollAway();
  ASSERT_TRUE(ws.Query(CommandId::kZoomToFit).enabled);
  ws.Execute(CommandId::kZoomToFit);
  EXPECT_EQ(ObjectsInSight(), ws.library().currentModule().PrimitiveCount());
}

TEST_F(ViewFramingTest, ALogLineSelectsItsObjectInItsNodeAndBringsItIntoSight) {
  const RuntimeInstance& root = ws.library().rootInstance();
  const RuntimeInstance& second = *std::prev(root.children.end())->second;
  const int reg = ws.library().ModuleByName(second.name).shiftRegisters.rbegin()->first;
  const std::string path = root.name + "/" + std::to_string(std::prev(root.children.end())->first);
  ScrollAway();
  ASSERT_TRUE(ws.ShowLogLineObject(path + " シフトレジスタ" + std::to_string(reg) + ": 01"));
  EXPECT_EQ(&ws.library().currentInstance(), &second);
  EXPECT_EQ(ws.library().currentModule().selection.selectedIds, std::set<int>{reg});
  const Point pixel =
      ws.view().viewport().ToScreen(ws.library().currentModule().shiftRegisters.at(reg).position);
  EXPECT_TRUE(pixel.x >= 0 && pixel.y >= 0 && pixel.x < 640 && pixel.y < 480);

  // A check message names the module: its first node, depth first.
  ws.GoToTreeItem(root.treeItem);
  const RuntimeInstance& first = *root.children.begin()->second;
  ASSERT_TRUE(
      ws.ShowLogLineObject(first.name + "のシフトレジスタ" + std::to_string(reg) + "にエラー"));
  EXPECT_EQ(&ws.library().currentInstance(), &first);

  for (const std::string& line : {path + " ステートマシン" + std::to_string(reg),
                                  path + "/99 シフトレジスタ1", std::string("no object")})
    EXPECT_FALSE(ws.ShowLogLineObject(line)) << line;
}

}  // namespace
}  // namespace pelkor
