// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include "edit/key_codes.h"
#include "support/model_invariants.h"
#include "support/recording_log.h"
#include "support/scripted_ui.h"
#include "support/workspace_probe.h"
#include "workspace/workspace.h"

namespace pelkor::testing {

// A workspace with a 400 x 300 view at scale 1 and origin (0, 0), so that client pixels and
// logical points coincide, driven by the view's events. The view is painted before every event,
// as the event loop paints between two events, which rebuilds the hit map.
class EditorTest : public ::testing::Test {
 protected:
  EditorTest() {
    ws.AttachLog(&log);
    testing::ViewOf(ws).width = 400;
    testing::ViewOf(ws).height = 300;
    Paint();
  }
  void TearDown() override { EXPECT_TRUE(ModuleInvariantsHold(module())); }

  Module& module() { return testing::LibraryOf(ws).currentModule(); }
  const InteractionState& state() { return testing::InteractionOf(ws); }
  // Moves with every recorded edit.
  std::uint64_t Revision() { return module().revision(); }
  void Paint() { ws.PaintView(frame); }

  void Press(Point p, bool ctrl = false) {
    Paint();
    ws.MousePress(p, ctrl);
  }
  void Move(Point p, bool ctrl = false) {
    Paint();
    ws.MouseMove(p, ctrl);
  }
  void Release(Point p) {
    Paint();
    ws.MouseRelease(p);
  }
  void Click(Point p) {
    Press(p);
    Release(p);
  }
  void DoubleClick(Point p, bool firstPressHeld = false) {
    Paint();
    ws.MouseDoubleClick(p, firstPressHeld);
  }
  void RightClick(Point p) {
    Paint();
    ws.RightButtonRelease(p);
  }
  void Tool(CommandId tool) { ASSERT_TRUE(ws.ChooseTool(tool)); }
  // Places a primitive with its tool; returns its ID.
  int Place(CommandId tool, Point p) {
    Tool(tool);
    Click(p);
    return module().nextObjectId - 1;
  }
  // Draws an arc with the arc tool through the given bends.
  void DrawArc(int from, int to, const std::vector<Point>& bends = {}) {
    Tool(CommandId::kArcTool);
    Click(*module().PositionOf(from));
    for (Point bend : bends)
      Click(bend);
    Click(*module().PositionOf(to));
  }

  ScriptedUi ui;
  Workspace ws{ui};
  RecordingLog log;
  Frame frame;
};

}  // namespace pelkor::testing
