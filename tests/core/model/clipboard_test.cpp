// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/clipboard.h"

#include <gtest/gtest.h>

#include "../support/model_invariants.h"
#include "../support/recording_log.h"
#include "../support/records.h"

namespace pelkor {
namespace {

using testing::At;
using testing::ModuleInvariantsHold;
using testing::RecordingLog;

// A source, a register and a sink joined by two arcs, and one more register joined to the
// sink. Every object but the extra register is selected.
class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log.Attach(&lines);
    extra = m.AddShiftRegister(At<ShiftRegister>({0, 200}));  // ID 1, not selected
    source = m.AddSource(At<SourceTransition>({0, 0}));
    reg = m.AddShiftRegister(At<ShiftRegister>({100, 0}));
    sink = m.AddSink(At<SinkTransition>({200, 0}));
    m.AddArc(source, reg, {{50, -10}}, "in");
    m.AddArc(reg, sink, {}, "out");
    m.AddArc(extra, sink, {}, "other");
    for (int id : {source, reg, sink})
      m.selection.Add(m, id);
  }

  RecordingLog lines;
  OutputLog log;
  Module m;
  int extra = 0, source = 0, reg = 0, sink = 0;
};

TEST_F(ClipboardTest, CopyTakesTheGroupAndTheArcsInsideIt) {
  const Module before = m;
  const Module clip = CopySelection(m, {40, 50}, log);

  EXPECT_EQ(clip.kinds,
            (std::map<int, ObjectKind>{{1, kSourceKind}, {2, kShiftRegisterKind}, {3, kSinkKind}}));
  EXPECT_EQ(clip.PrimitiveCount(), 3u);
  ASSERT_EQ(clip.arcs.size(), 2u);
  EXPECT_EQ(clip.arcs.at(1), (Arc{1, 2, {{50, -10}}, "in"}));
  EXPECT_EQ(clip.arcs.at(2), (Arc{2, 3, {}, "out"}));
  EXPECT_EQ(clip.pasteOrigin, (Point{40, 50}));
  EXPECT_EQ(clip.shiftRegisters.at(2).position, (Point{100, 0}));
  EXPECT_TRUE(clip.selection.Empty());
  EXPECT_TRUE(ModuleInvariantsHold(clip));
  EXPECT_TRUE(m.SameContent(before));
  EXPECT_EQ(m.selection.selectedIds.size(), 3u);
  EXPECT_TRUE(lines.lines.empty());
}

TEST_F(ClipboardTest, PastingTwiceGivesIndependentGroups) {
  const Module clip = CopySelection(m, {0, 0}, log);
  const std::map<int, int> first = PasteClipboard(clip, m, {1000, 500});
  const std::map<int, int> second = PasteClipboard(clip, m, {1000, 500});

  EXPECT_EQ(first, (std::map<int, int>{{1, 5}, {2, 6}, {3, 7}}));
  EXPECT_EQ(second, (std::map<int, int>{{1, 8}, {2, 9}, {3, 10}}));
  EXPECT_EQ(m.sources.at(5).position, (Point{1000, 500}));
  EXPECT_EQ(m.sources.at(8).position, (Point{1000, 500}));
  EXPECT_EQ(m.sinks.at(10).position, (Point{1200, 500}));
  // Arcs 4 to 7, each group's joining its own objects, bends moved with them.
  EXPECT_EQ(m.arcs.at(4), (Arc{5, 6, {{1050, 490}}, "in"}));
  EXPECT_EQ(m.arcs.at(5), (Arc{6, 7, {}, "out"}));
  EXPECT_EQ(m.arcs.at(6), (Arc{8, 9, {{1050, 490}}, "in"}));
  EXPECT_EQ(m.arcs.at(7), (Arc{9, 10, {}, "out"}));
  EXPECT_TRUE(ModuleInvariantsHold(m));

  // The groups do not share state: moving one leaves the other.
  m.selection.Clear(m);
  m.selection.Add(m, 6);
  m.selection.MoveSelected(m, {10, 10});
  EXPECT_EQ(m.shiftRegisters.at(9).position, (Point{1100, 500}));
}

TEST_F(ClipboardTest, AnIdWithoutAPrimitiveIsACopyErrorAndUsesUpItsNumber) {
  // Undo can leave an ID selected whose object no longer exists.
  m.selection.selectedIds.insert(99);
  m.kinds.erase(sink);
  m.sinks.erase(sink);
  m.RemoveArcsOf(sink);
  m.selection.selectedIds.insert(sink);

  const Module clip = CopySelection(m, {0, 0}, log);

  EXPECT_EQ(lines.lines, (std::vector<std::string>{"コピーエラー", "コピーエラー"}));
  EXPECT_EQ(clip.kinds, (std::map<int, ObjectKind>{{1, kSourceKind}, {2, kShiftRegisterKind}}));
  EXPECT_EQ(clip.nextObjectId, 5);

  const std::map<int, int> pasted = PasteClipboard(clip, m, {0, 0});
  EXPECT_EQ(pasted.size(), 2u);
  EXPECT_TRUE(ModuleInvariantsHold(m));
}

TEST_F(ClipboardTest, PasteAfterAGapStillTakesEveryObject) {
  // The error in the middle leaves IDs 1 and 3: both are pasted, with the arc between them.
  m.sources.erase(source);
  m.kinds.erase(source);
  m.RemoveArcsOf(source);
  m.selection.selectedIds = {extra, source, sink};

  const Module clip = CopySelection(m, {0, 0}, log);
  ASSERT_EQ(clip.kinds, (std::map<int, ObjectKind>{{1, kShiftRegisterKind}, {3, kSinkKind}}));
  const std::map<int, int> pasted = PasteClipboard(clip, m, {0, 0});

  EXPECT_EQ(pasted, (std::map<int, int>{{1, 5}, {3, 6}}));
  EXPECT_EQ(m.arcs.rbegin()->second, (Arc{5, 6, {}, "other"}));
}

}  // namespace
}  // namespace pelkor
