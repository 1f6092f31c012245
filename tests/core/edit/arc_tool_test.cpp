// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>

#include "edit/editor_fixture.h"
#include "support/records.h"
#include "support/workspace_probe.h"

namespace pelkor {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

CommandId ToolPlacing(ObjectKind kind) {
  switch (kind) {
    case kShiftRegisterKind:
      return CommandId::kShiftRegisterTool;
    case kStateMachineKind:
      return CommandId::kStateMachineTool;
    case kCounterKind:
      return CommandId::kCounterTool;
    case kSourceKind:
      return CommandId::kSourceTool;
    case kSinkKind:
      return CommandId::kSinkTool;
    default:
      return CommandId::kModuleTool;
  }
}

class ArcToolTest : public testing::EditorTest {
 protected:
  int Add(ObjectKind kind, Point p) { return Place(ToolPlacing(kind), p); }
  void SetCountText(int counter, const std::string& text) {
    Counter& c = module().counters.at(counter);
    c.countText.source = text;
    c.Regenerate();
  }
  void SetShiftLine(int shiftLine) {
    Settings settings = ws.settings();
    settings.shiftLine = shiftLine;
    ws.SetSettings(settings);
  }
};

TEST_F(ArcToolTest, AnArcJoinsARegisterWithAnotherKindInTheAllowedDirection) {
  struct Case {
    ObjectKind from;
    ObjectKind to;
    bool completes;
  };
  const Case cases[] = {
      {kShiftRegisterKind, kStateMachineKind, true},
      {kShiftRegisterKind, kCounterKind, true},
      {kShiftRegisterKind, kSinkKind, true},
      {kShiftRegisterKind, kInstanceKind, true},
      {kStateMachineKind, kShiftRegisterKind, true},
      {kCounterKind, kShiftRegisterKind, true},
      {kSourceKind, kShiftRegisterKind, true},
      {kInstanceKind, kShiftRegisterKind, true},
      {kShiftRegisterKind, kShiftRegisterKind, false},
      {kShiftRegisterKind, kSourceKind, false},
      {kCounterKind, kStateMachineKind, false},
      {kSourceKind, kSinkKind, false},
      {kCounterKind, kCounterKind, false},
      {kInstanceKind, kInstanceKind, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.from << " -> " << c.to);
    ws.New();
    const int from = Add(c.from, {100, 100});
    const int to = Add(c.to, {250, 100});
    DrawArc(from, to);
    if (c.completes) {
      ASSERT_EQ(module().arcs.size(), 1u);
      EXPECT_EQ(module().arcs.begin()->second.from, from);
      EXPECT_EQ(module().arcs.begin()->second.to, to);
    } else {
      EXPECT_THAT(module().arcs, IsEmpty());
    }
    EXPECT_EQ(state().arcInProgress, !c.completes);
    EXPECT_TRUE(testing::ArcsJoinExistingPrimitives(module()));
  }
}

TEST_F(ArcToolTest, ARefusedTargetKeepsTheArcInProgressUntilAnAllowedOne) {
  const int first = Add(kShiftRegisterKind, {100, 100});
  const int second = Add(kShiftRegisterKind, {200, 100});
  const int counter = Add(kCounterKind, {300, 100});
  DrawArc(first, second);
  EXPECT_TRUE(state().arcInProgress);
  EXPECT_EQ(state().arcSource, first);
  Click({300, 100});
  EXPECT_FALSE(state().arcInProgress);
  ASSERT_EQ(module().arcs.size(), 1u);
  EXPECT_EQ(module().arcs.begin()->second.to, counter);
}

TEST_F(ArcToolTest, ASinkNeverStartsAnArcAndASourceEndsOnlyOnARegister) {
  const int sink = Add(kSinkKind, {100, 100});
  const int source = Add(kSourceKind, {100, 200});
  Add(kCounterKind, {300, 100});
  const int reg = Add(kShiftRegisterKind, {300, 200});
  Tool(CommandId::kArcTool);
  Click({100, 100});
  EXPECT_FALSE(state().arcInProgress);
  Click({100, 200});
  Click({100, 100});  // the sink
  Click({300, 100});  // the counter
  EXPECT_TRUE(state().arcInProgress);
  EXPECT_THAT(module().arcs, IsEmpty());
  Click({300, 200});
  ASSERT_EQ(module().arcs.size(), 1u);
  EXPECT_EQ(module().arcs.begin()->second, (Arc{source, reg, {}, ""}));
  EXPECT_NE(sink, 0);
}

TEST_F(ArcToolTest, TheArcDialogComesUpOnlyWhenThereIsAPortToChoose) {
  struct Case {
    std::string countText;
    bool intoCounter;
    std::vector<std::string> offered;  // empty: no dialog
    std::string name;
  };
  const Case cases[] = {
      {"x = a & b;", true, {"a", "b"}, "b"},
      {"x = a;", true, {}, ""},
      {"x = a; y = a;", false, {"x", "y"}, "b"},
      {"x = a;", false, {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.countText);
    ws.New();
    ui.portLists.clear();
    ui.ports = {"b"};
    const int reg = Add(kShiftRegisterKind, {100, 100});
    const int counter = Add(kCounterKind, {300, 100});
    SetCountText(counter, c.countText);
    if (c.intoCounter)
      DrawArc(reg, counter);
    else
      DrawArc(counter, reg);
    ASSERT_EQ(module().arcs.size(), 1u);
    EXPECT_EQ(module().arcs.begin()->second.name, c.name);
    if (c.offered.empty())
      EXPECT_THAT(ui.portLists, IsEmpty());
    else
      EXPECT_THAT(ui.portLists, ElementsAre(c.offered));
  }
}

TEST_F(ArcToolTest, AModulePortIsAlwaysAskedForFromTheModulesNamedSourcesAndSinks) {
  Module& sub = *testing::LibraryOf(ws).CreateModule("sub");
  sub.AddSource(testing::Named<SourceTransition>("b"));
  sub.AddSource(testing::Named<SourceTransition>("a"));
  sub.AddSource({});
  sub.AddSink(testing::Named<SinkTransition>("q"));
  const int reg = Add(kShiftRegisterKind, {100, 100});
  const int instance = Add(kInstanceKind, {300, 100});
  module().instances.at(instance).moduleName = "sub";
  ui.ports = {"a", std::nullopt};
  DrawArc(reg, instance);
  const std::uint64_t drawn = Revision();
  DrawArc(instance, reg);
  EXPECT_THAT(ui.portLists, ElementsAre(ElementsAre("a", "b"), ElementsAre("q")));
  ASSERT_EQ(module().arcs.size(), 1u);  // Cancel creates nothing
  EXPECT_EQ(module().arcs.begin()->second.name, "a");
  EXPECT_EQ(Revision(), drawn);

  // Drawn again and cancelled, an existing arc keeps its name and bends.
  ui.ports = {std::nullopt};
  DrawArc(reg, instance, {{200, 40}});
  ASSERT_EQ(module().arcs.size(), 1u);
  EXPECT_EQ(module().arcs.begin()->second.name, "a");
  EXPECT_TRUE(module().arcs.begin()->second.bends.empty());
}

TEST_F(ArcToolTest, DrawingTheSameRegisterToSinkArcTwiceKeepsOneArcWithTheNewBends) {
  const int reg = Add(kShiftRegisterKind, {100, 100});
  const int sink = Add(kSinkKind, {300, 100});
  DrawArc(reg, sink, {{150, 200}, {250, 200}});
  DrawArc(reg, sink, {{200, 20}});
  ASSERT_EQ(module().arcs.size(), 1u);
  EXPECT_THAT(module().arcs.begin()->second.bends, ElementsAre(Point{200, 20}));
}

TEST_F(ArcToolTest, AnArcLeavingARegisterSetsItsDirectionByShiftLine) {
  struct Case {
    int shiftLine;
    std::vector<Point> bends;
    int direction;
  };
  const Case cases[] = {
      {1, {}, 2},
      {1, {{50, 200}}, 0},
      {0, {}, 0},
      {2, {{50, 200}}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "SHIFTLINE " << c.shiftLine << ", " << c.bends.size());
    ws.New();
    SetShiftLine(c.shiftLine);
    const int reg = Add(kShiftRegisterKind, {100, 100});
    const int counter = Add(kCounterKind, {300, 100});
    DrawArc(reg, counter, c.bends);
    EXPECT_EQ(module().shiftRegisters.at(reg).direction, c.direction);
  }
}

TEST_F(ArcToolTest, TheRubberBandStopsShortOfATargetAndEscapeRemovesIt) {
  const int reg = Add(kShiftRegisterKind, {100, 100});
  const int counter = Add(kCounterKind, {300, 100});
  Tool(CommandId::kArcTool);
  Click({100, 100});
  Click({100, 200});
  Move({300, 100});
  EXPECT_EQ(state().rubberEnd, (Point{275, 112}));  // 27 back toward the bend at (100, 200)
  Paint();
  const std::size_t withBand = frame.picture.ops.size();
  Move({220, 250});
  EXPECT_EQ(state().rubberEnd, (Point{220, 250}));
  ws.KeyDown(kEscapeKey);
  EXPECT_FALSE(state().arcInProgress);
  EXPECT_THAT(state().pendingBends, IsEmpty());
  Paint();
  EXPECT_LT(frame.picture.ops.size(), withBand);  // the rubber band is gone
  Click({300, 100});
  EXPECT_THAT(module().arcs, IsEmpty());
  EXPECT_NE(reg, counter);
}

TEST_F(ArcToolTest, ARightClickRemovesTheArcFromTheClickedObjectIntoTheArcsStart) {
  const int reg = Add(kShiftRegisterKind, {100, 100});
  const int counter = Add(kCounterKind, {300, 100});
  const int sink = Add(kSinkKind, {100, 250});
  DrawArc(counter, reg);
  DrawArc(reg, sink);
  const std::uint64_t before = Revision();
  Click({100, 100});  // starts at the register, the arc's end
  RightClick({300, 100});
  EXPECT_FALSE(state().arcInProgress);
  ASSERT_EQ(module().arcs.size(), 1u);
  EXPECT_EQ(module().arcs.begin()->second.to, sink);
  EXPECT_NE(Revision(), before);

  // A sink starts no arc, so its incoming arc cannot be removed this way.
  Click({100, 250});
  RightClick({100, 100});
  EXPECT_EQ(module().arcs.size(), 1u);
}

TEST_F(ArcToolTest, AnArcWhoseStartWasDeletedMeanwhileIsDropped) {
  const int reg = Add(kShiftRegisterKind, {100, 100});
  Add(kCounterKind, {300, 100});
  Tool(CommandId::kArcTool);
  RightClick({100, 100});  // the context menu selects the register alone
  Click({100, 100});
  ws.KeyDown(kDeleteKey);
  ASSERT_EQ(module().PositionOf(reg), nullptr);
  Click({300, 100});
  EXPECT_THAT(module().arcs, IsEmpty());
  EXPECT_TRUE(testing::ArcsJoinExistingPrimitives(module()));
}

// A double-click with the arc tool opens the object's properties. Its first press comes as a
// press first (the view holds one that would complete the arc, so the double-click comes alone):
// the arc goes back to how it was before that press, and none is drawn.
TEST_F(ArcToolTest, ADoubleClickOpensPropertiesAndNeverStartsOrCompletesAnArc) {
  const int reg = Add(kShiftRegisterKind, {100, 100});
  const int other = Add(kShiftRegisterKind, {200, 100});
  Add(kCounterKind, {300, 100});
  Add(kSinkKind, {300, 200});
  Tool(CommandId::kArcTool);
  ui.opened.clear();

  EXPECT_FALSE(ws.PressCompletesArc({100, 100}));  // no arc yet
  Press({100, 100});
  Release({100, 100});
  DoubleClick({100, 100});
  EXPECT_FALSE(state().arcInProgress);

  Click({100, 100});  // an arc from the register, with a bend
  Click({150, 250});
  const std::vector<Point> bends = state().pendingBends;
  struct Case {
    const char* what;
    Point at;
    bool completesArc;  // then the view holds the first press back; otherwise it hands it on
  };
  const Case cases[] = {
      {"the counter the arc may end on", {300, 100}, true},
      {"the sink the arc may end on", {300, 200}, true},
      {"another register, a refused target", {200, 100}, false},
      {"the register the arc starts at", {100, 100}, false},
      {"empty space, where a press bends the arc", {50, 250}, false},
  };
  ui.opened.clear();
  for (const Case& c : cases) {
    Paint();
    EXPECT_EQ(ws.PressCompletesArc(c.at), c.completesArc) << c.what;
    if (!c.completesArc) {
      Press(c.at);
      Release(c.at);
    }
    DoubleClick(c.at, c.completesArc);
    EXPECT_TRUE(state().arcInProgress) << c.what;
    EXPECT_EQ(state().arcSource, reg) << c.what;
    EXPECT_EQ(state().pendingBends, bends) << c.what;
    EXPECT_THAT(module().arcs, IsEmpty()) << c.what;
  }
  EXPECT_THAT(ui.opened, ElementsAre("counter", "sink", "shift register", "shift register"));

  Click({300, 200});  // a single press still ends the arc
  ASSERT_EQ(module().arcs.size(), 1u);
  EXPECT_EQ(module().arcs.begin()->second, (Arc{reg, 4, bends, ""}));
  EXPECT_NE(other, 0);
}

}  // namespace
}  // namespace pelkor
