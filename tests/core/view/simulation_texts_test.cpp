// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "scene_fixture.h"
#include "sim/sim_fixture.h"
#include "view/simulation_texts.h"
#include "view/text_fit.h"

namespace pelkor {
namespace {

using testing::AddCounter;
using testing::AddMachine;
using testing::AddRegister;
using testing::AddSink;
using testing::AddSource;
using testing::Connect;
using testing::CornersOf;
using testing::OpsOf;
using testing::Paint;
using testing::TextOp;
using testing::ViewAt;

ShownTokens Tokens(std::initializer_list<int> values) {
  ShownTokens shown;
  for (const int value : values)
    shown.Push(value);
  return shown;
}

TEST(SimulationTextsTest, CellsShowBlanksForEmptyCellsAndTurnForRightShifts) {
  struct Case {
    ShownTokens exitFirst;
    int direction;
    const char* text;
  };
  const Case cases[] = {
      {Tokens({1, 0, 2, 2, 1}), 0, "10  1"},
      {Tokens({1, 0, 2, 2, 1}), 1, "10  1"},
      {Tokens({1, 0, 2}), 2, " 01"},
      {Tokens({}), 2, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CellText(c.exitFirst, c.direction), c.text);
  EXPECT_EQ(BitText(Tokens({1, 0, 2, 1})), "1001");
}

TEST(SimulationTextsTest, FittedBitsEndInAnEllipsisWhenMoreValuesWaitThanPlaces) {
  const struct {
    ShownTokens values;
    std::size_t places;
    const char* text;
  } cases[] = {{Tokens({1, 0, 1}), 3, "101"},
               {Tokens({1, 0, 1, 1}), 3, "10…"},
               {Tokens({1, 0}), 1, "…"},
               {Tokens({1}), 1, "1"},
               {Tokens({}), 1, ""}};
  for (const auto& c : cases)
    EXPECT_EQ(FittedBits(c.values, c.places), c.text) << c.text;
}

TEST(SimulationTextsTest, PlacesAreReckonedFromTheFontAndNeverNone) {
  LogFont font;  // 15 pixels high: digits of 8
  EXPECT_EQ(PlacesIn(40, DigitWidth(font)), 5u);
  EXPECT_EQ(PlacesIn(TextWidth("<出力>", font), DigitWidth(font)), 6u);
  EXPECT_EQ(PlacesIn(3, DigitWidth(font)), 1u);
  EXPECT_EQ(PlacesIn(1 << 20, DigitWidth(font)), ShownTokens::kCapacity - 1);
  font.width = -10;
  EXPECT_EQ(PlacesIn(40, DigitWidth(font)), 4u);
}

class SimulationLabelsTest : public testing::SimTest {
 protected:
  // The top module, checked.
  const Module& Checked() {
    EXPECT_EQ(CheckAll().failingNode, nullptr);
    return Top();
  }
  RunStateReader Reader() { return RunStateReader(&Runtime()); }

  std::vector<DrawOp> PaintRunning(const Module& net) {
    const RunStateReader reader = Reader();
    return Paint(net, ViewAt(0), &reader).frame.picture.ops;
  }
};

TEST_F(SimulationLabelsTest, RegistersShowUpToFiveCellsFromTheExit) {
  struct Case {
    const char* contents;
    int size;
    int direction;
    const char* text;
  };
  // "0110" in a register of five: cells - 0 1 1 0 from entry to exit.
  const Case cases[] = {
      {"0110", 5, 0, "0110 "},
      {"0110", 5, 2, " 0110"},
      {"1000111", 8, 0, "11100"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.contents);
    library.Reset();
    const int id = AddRegister(Top(), c.contents, c.size);
    Top().shiftRegisters.at(id).direction = c.direction;
    Top().shiftRegisters.at(id).position = {100, 100};
    const auto ops = PaintRunning(Checked());
    const auto label = TextOp(ops, c.text);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->points[0], (Point{83, 93}));
    // The contents' own label gives way to the cells.
    EXPECT_FALSE(TextOp(ops, Top().shiftRegisters.at(id).ShiftOrderPrefix(4)));
  }
}

TEST_F(SimulationLabelsTest, SourcesShowTheBackOfTheirQueue) {
  const int source = AddSource(Top(), "1100101");
  Connect(Top(), source, AddRegister(Top()));
  Top().sources.at(source).position = {100, 100};
  const auto label = TextOp(PaintRunning(Checked()), "1010…");
  ASSERT_TRUE(label);
  EXPECT_EQ(label->points[0], (Point{100, 100}));
}

TEST_F(SimulationLabelsTest, SinksShowTheirReceivedValuesByOutputMode) {
  struct Case {
    int outputMode;
    const char* text;
  };
  const Case cases[] = {{0, "1101…"}, {1, "0010…"}, {2, ""}, {3, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.outputMode);
    library.Reset();
    const int sink = AddSink(Top(), "out");
    Connect(Top(), AddRegister(Top()), sink);
    Top().sinks.at(sink).position = {200, 200};
    Top().sinks.at(sink).outputMode = c.outputMode;
    const Module& net = Checked();
    Received(sink) = {1, 1, 0, 1, 0, 0};
    const auto ops = PaintRunning(net);
    const bool anyAtCentre = std::any_of(ops.begin(), ops.end(), [](const DrawOp& op) {
      return op.shape == DrawShape::kText && op.points[0] == Point{200, 200};
    });
    EXPECT_EQ(anyAtCentre, *c.text != '\0');
    if (*c.text != '\0') {
      ASSERT_TRUE(TextOp(ops, c.text));
      EXPECT_EQ(TextOp(ops, c.text)->points[0], (Point{200, 200}));
    }
  }
}

TEST_F(SimulationLabelsTest, ASinkShowsAsManyValuesAsItsLabelHasRoomFor) {
  const struct {
    const char* name;
    std::vector<int> received;
    const char* text;
  } cases[] = {{"", {1, 1, 0, 1, 0}, "11010"},
               {"", {1, 1, 0, 1, 0, 0}, "1101…"},
               {"output", {1, 1, 0, 1, 0, 0, 1, 1, 1}, "1101001…"},
               {"出力", {1, 1, 0, 1, 0, 0}, "110100"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    library.Reset();
    const int sink = AddSink(Top(), c.name);
    Connect(Top(), AddRegister(Top()), sink);
    Top().sinks.at(sink).position = {200, 200};
    const Module& net = Checked();
    Received(sink) = c.received;
    EXPECT_TRUE(TextOp(PaintRunning(net), c.text));
  }
}

TEST_F(SimulationLabelsTest, SinksWithExpectationsShowTheirLiveVerdictAtScaleOne) {
  struct Case {
    const char* expected;
    std::vector<int> received;
    int zoomLevel;
    bool shown;
    std::optional<ColorRef> mark;
  };
  const Case cases[] = {
      {"0110", {0, 1}, 0, true, kPassColour},   {"0110", {0, 0}, 0, true, kFailColour},
      {"0110", {0, 0}, 0, false, std::nullopt},  // switched off
      {"0110", {0, 0}, 1, true, std::nullopt},   // scale 2
      {"", {0, 0}, 0, true, std::nullopt},       // nothing expected
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.received) + " against " + c.expected);
    library.Reset();
    const int sink = AddSink(Top(), "out");
    Connect(Top(), AddRegister(Top()), sink);
    Top().sinks.at(sink).position = {200, 200};
    Top().sinks.at(sink).expected = c.expected;
    const Module& net = Checked();
    Received(sink) = c.received;
    ViewState view = ViewAt(c.zoomLevel);
    view.showSinkVerdicts = c.shown;
    const RunStateReader reader = Reader();
    const auto ops = Paint(net, view, &reader).frame.picture.ops;
    for (const ColorRef colour : {kPassColour, kFailColour}) {
      const auto marks = OpsOf(ops, DrawShape::kEllipse, colour);
      EXPECT_EQ(marks.size(), c.mark == colour ? 1u : 0u);
      for (const DrawOp& mark : marks) {
        const Rect box = CornersOf(mark);  // below the sink's left corner
        EXPECT_TRUE(box.left < 180 && 180 < box.right && box.top < 220 && 220 < box.bottom);
      }
    }
  }
}

TEST_F(SimulationLabelsTest, CountersShowWhatRemainsAndReadyOnesAreHighlighted) {
  const int counter = AddCounter(Top(), "y = x;", 3);
  Connect(Top(), AddRegister(Top()), counter);
  Connect(Top(), counter, AddRegister(Top()));
  const int machine = AddMachine(Top(), {{1, "y = x;", ""}}, {}, 1);
  Connect(Top(), AddRegister(Top()), machine, "x");
  Connect(Top(), machine, AddRegister(Top()), "y");
  Top().counters.at(counter).position = {100, 100};
  Top().stateMachines.at(machine).position = {200, 100};
  const Module& net = Checked();
  EXPECT_TRUE(TextOp(Paint(net, ViewAt(0)).frame.picture.ops, "3"));  // the design's number

  NetRuntime& runtime = Runtime();
  runtime.counters.at(0).remaining = 1;
  runtime.counters.at(0).ready = true;
  runtime.machines.at(0).ready = true;
  const auto ops = PaintRunning(net);
  EXPECT_FALSE(TextOp(ops, "3"));
  EXPECT_TRUE(TextOp(ops, "1"));
  const auto highlights = OpsOf(ops, DrawShape::kRectangle, kHighlightColour);
  ASSERT_EQ(highlights.size(), 2u);
  EXPECT_EQ(CornersOf(highlights[0]), (Rect{190, 90, 210, 110}));  // machines come first
  EXPECT_EQ(CornersOf(highlights[1]), (Rect{90, 90, 110, 110}));
  EXPECT_EQ(highlights[1].brush, kWhite);
  // The highlight covers the shape's middle and comes before the label.
  const auto highlightAt = std::find(ops.begin(), ops.end(), highlights[1]);
  const auto labelAt = std::find(ops.begin(), ops.end(), *TextOp(ops, "1"));
  EXPECT_LT(highlightAt, labelAt);
}

TEST_F(SimulationLabelsTest, ANodeWithoutRunTimeStateShowsNoRunTimeTexts) {
  const int counter = AddCounter(Top(), "y = x;", 3);
  Top().counters.at(counter).position = {100, 100};
  const int shiftRegister = AddRegister(Top(), "01");
  Top().shiftRegisters.at(shiftRegister).position = {200, 100};
  const RunStateReader nothing(nullptr);
  const auto ops = Paint(Top(), ViewAt(0), &nothing).frame.picture.ops;
  EXPECT_TRUE(std::none_of(ops.begin(), ops.end(),
                           [](const DrawOp& op) { return op.shape == DrawShape::kText; }));
}

}  // namespace
}  // namespace pelkor
