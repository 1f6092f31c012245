// SPDX-License-Identifier: GPL-3.0-or-later
// Every command of the command table, run by its id in a few states of the workspace: the
// query answers, and the command either runs or, when disabled or the windows' own, is refused
// without changing anything; the model's invariants hold after each.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "edit/command_table.h"
#include "files/design_file.h"
#include "support/model_invariants.h"
#include "support/recording_log.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"
#include "support/workspace_probe.h"
#include "workspace/workspace.h"

namespace pelkor {
namespace {

enum class State { kEmpty, kLoaded, kSimulating };

const char* Name(State state) {
  switch (state) {
    case State::kEmpty:
      return "empty";
    case State::kLoaded:
      return "loaded";
    case State::kSimulating:
      return "simulating";
  }
  return "?";
}

class CommandWalk {
 public:
  explicit CommandWalk(State state) {
    workspace_.AttachLog(&log_);
    workspace_.SetDesignFolder(temp_.path());  // where Save writes a new design
    if (state == State::kEmpty)
      return;
    const auto design = temp_.path() / "full_adder.dtn";
    std::filesystem::copy_file(std::filesystem::path(PELKOR_EXAMPLES) / "full_adder.dtn", design);
    workspace_.OpenFile(design);
    testing::LibraryOf(workspace_)
        .currentModule()
        .selection.Add(testing::LibraryOf(workspace_).currentModule(), 1);
    if (state == State::kSimulating)
      workspace_.Execute(CommandId::kCheck);
  }
  Workspace& workspace() { return workspace_; }
  std::string Text() const { return WriteModule(workspace_.library().currentModule()); }

 private:
  testing::TempFolder temp_;
  testing::ScriptedUi ui_;  // cancels every dialog
  testing::RecordingLog log_;
  Workspace workspace_{ui_};
};

TEST(CommandWalkTest, EveryCommandAnswersAndRunsOrIsRefusedLeavingTheModelIntact) {
  for (State state : {State::kEmpty, State::kLoaded, State::kSimulating}) {
    for (const CommandInfo& info : Commands()) {
      CommandWalk walk(state);
      Workspace& ws = walk.workspace();
      const CommandState query = ws.Query(info.id);
      const std::string before = walk.Text();
      const bool simulating = ws.IsSimulating();
      const bool ran = ws.Execute(info.id);
      const std::string where =
          std::string(Name(state)) + " " + std::to_string(static_cast<int>(info.id));
      if (!query.enabled) {
        EXPECT_FALSE(ran) << where;
        EXPECT_EQ(walk.Text(), before) << where;
        EXPECT_EQ(ws.IsSimulating(), simulating) << where;
      }
      EXPECT_TRUE(testing::ModuleInvariantsHold(testing::LibraryOf(ws).currentModule())) << where;
    }
  }
}

// What the menus show follows the state: a few commands whose answer the state decides.
TEST(CommandWalkTest, TheStateDecidesWhatIsEnabled) {
  struct Case {
    CommandId id;
    bool empty, loaded, simulating;
  };
  const Case cases[] = {
      {CommandId::kCheck, true, true, false},
      {CommandId::kStep, false, false, true},
      {CommandId::kSave, true, true, false},
      {CommandId::kUndo, false, false, false},
      {CommandId::kShiftRegisterTool, true, true, false},
      {CommandId::kPrint, false, false, false},  // the windows' own
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommandWalk(State::kEmpty).workspace().Query(c.id).enabled, c.empty);
    EXPECT_EQ(CommandWalk(State::kLoaded).workspace().Query(c.id).enabled, c.loaded);
    EXPECT_EQ(CommandWalk(State::kSimulating).workspace().Query(c.id).enabled, c.simulating);
  }
}

// A command run by its id does what its menu item does: the first edit after opening can be
// undone through the table, and the toggles flip.
TEST(CommandWalkTest, CommandsRunByIdActAsTheirMenuItems) {
  CommandWalk walk(State::kLoaded);
  Workspace& ws = walk.workspace();
  const std::string opened = walk.Text();
  ASSERT_TRUE(ws.Execute(CommandId::kDelete));
  EXPECT_NE(walk.Text(), opened);
  EXPECT_TRUE(ws.Query(CommandId::kUndo).enabled);
  ASSERT_TRUE(ws.Execute(CommandId::kUndo));
  EXPECT_EQ(walk.Text(), opened);
  EXPECT_FALSE(ws.IsModified("full_adder"));

  const bool ids = ws.Query(CommandId::kShowObjectIds).checked;
  ws.Execute(CommandId::kShowObjectIds);
  EXPECT_EQ(ws.Query(CommandId::kShowObjectIds).checked, !ids);
  ASSERT_TRUE(ws.Execute(CommandId::kCheck));
  EXPECT_TRUE(ws.IsSimulating());
  EXPECT_TRUE(ws.Execute(CommandId::kRunWithoutAnimation));
  EXPECT_TRUE(ws.Execute(CommandId::kStop));
  EXPECT_FALSE(ws.IsSimulating());
}

}  // namespace
}  // namespace pelkor
