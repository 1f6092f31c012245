// SPDX-License-Identifier: GPL-3.0-or-later
// Long seeded streams of view events, with random dialog and menu answers, now and then during
// a simulation: nothing may throw out of the editing tools, and the module shown keeps its
// invariants after every event.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "edit/arc_rules.h"
#include "edit/key_codes.h"
#include "files/design_file.h"
#include "support/model_invariants.h"
#include "support/recording_log.h"
#include "support/records.h"
#include "support/scripted_ui.h"
#include "support/workspace_probe.h"
#include "workspace/workspace.h"

namespace pelkor {
namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 150;
constexpr std::size_t kLargeDesign = 30;

// Answers every dialog and menu at random, as an impatient user would.
class RandomUi : public testing::ScriptedUi {
 public:
  explicit RandomUi(std::mt19937& rng) : rng_(rng) {
    editRegister = [this](ShiftRegister& r) {
      r.contents = Pick<std::string>({"", "01", "1\r\n10"});
      r.sizeFixed = Pick({false, true});
      r.size = Pick({1, 3});
      r.direction = Pick({0, 2});
    };
    editSource = [this](SourceTransition& s) {
      s.name = Pick<std::string>({"", "new", "delete", "a", " b "});
      s.data = Pick<std::string>({"", "10", "1\r\n1"});
    };
    editCounter = [this](Counter& c) {
      c.countText.source =
          Pick<std::string>({"", "x = a;", "x = a & b;", "x = a; y = b;", "x = (a;"});
      c.countNumber = Pick({1, 5, 128});
    };
    editSink = [this](SinkTransition& s) { s.name = Pick<std::string>({"", "q", "r"}); };
    editMachine = [this](StateMachine& m) {
      MachineState& state = m.states[m.nextStateId++];
      state.firstText.source = Pick<std::string>({"", "x = a;", "x = a; y = b;"});
      m.mainState = m.states.begin()->first;
      m.Regenerate();
    };
  }

  std::optional<std::string> ChooseArcPort(const std::vector<std::string>& offered,
                                           const std::string& preset) override {
    ScriptedUi::ChooseArcPort(offered, preset);
    if (offered.empty() || Pick({false, true}))
      return Pick<std::optional<std::string>>({preset, std::string("z"), std::nullopt});
    return offered[rng_() % offered.size()];
  }
  std::optional<std::string> AskModuleName() override {
    return Pick<std::optional<std::string>>(
        {std::nullopt, "", "sub", " sub ", "other", "untitle", "  "});
  }
  std::optional<CommandId> ShowContextMenu(Point,
                                           const std::vector<ContextMenuItem>& items) override {
    const std::size_t i = rng_() % (items.size() + 1);
    return i == items.size() ? std::nullopt : items[i].command;
  }

 private:
  template <typename T>
  T Pick(std::initializer_list<T> choices) {
    return *(choices.begin() + rng_() % choices.size());
  }

  std::mt19937& rng_;
};

class RandomSession {
 public:
  // `editsOnly` leaves out undo, the simulation and going up, so that a stretch of events is
  // a sequence of edits of one module that undo and redo can walk.
  explicit RandomSession(unsigned seed, bool editsOnly = false)
      : rng_(seed), editsOnly_(editsOnly) {
    ws_.AttachLog(&log_);
    testing::ViewOf(ws_).width = kWidth;
    testing::ViewOf(ws_).height = kHeight;
    NewDesign();
  }

  Module& module() { return testing::LibraryOf(ws_).currentModule(); }
  Workspace& workspace() { return ws_; }

  // Sends one random event; returns its name for failure messages.
  const char* Event() {
    // The event loop paints between two events when something asked for it.
    if (ui_.redraws != paintedAt_) {
      ws_.PaintView(frame_);
      paintedAt_ = ui_.redraws;
    }
    // A design that has grown large is dropped for a new one, so that objects stay apart and
    // the tools meet every kind.
    if (module().PrimitiveCount() > kLargeDesign) {
      NewDesign();
      return "new";
    }
    const Point p = RandomPixel();
    const bool ctrl = Pick(4) == 0;
    int event = Pick(22);
    if (editsOnly_ && (event == 15 || event == 16 || event == 21))
      event = 0;
    switch (event) {
      case 0:
      case 1:
      case 2:
      case 3:
      case 4:
        ws_.MousePress(p, ctrl);
        return "press";
      case 5:
      case 6:
      case 7:
        ws_.MouseMove(p, ctrl);
        return "move";
      case 19:
      case 20:
        ws_.MouseRelease(p);
        return "release";
      case 8:
        ws_.MouseDoubleClick(p);
        return "double-click";
      case 9:
        ws_.RightButtonRelease(p);
        return "right-click";
      case 10:
        if (Pick(2) == 0)
          ws_.MiddleButtonPress(p);
        else
          ws_.MiddleButtonRelease(p);
        return "middle button";
      case 11: {
        const int keys[] = {kDeleteKey, kBackspaceKey, kEscapeKey, kLeftKey, kUpKey,
                            kRightKey,  kDownKey,      kCtrlKey,   65};
        if (Pick(2) == 0)
          ws_.KeyDown(keys[Pick(9)]);
        else
          ws_.KeyUp(keys[Pick(9)]);
        return "key";
      }
      case 12: {
        // Registers, which every arc needs, and the arc, move and eraser tools more often than
        // the other placing tools, so that designs get arcs and stay small.
        const CommandId tools[] = {CommandId::kShiftRegisterTool, CommandId::kShiftRegisterTool,
                                   CommandId::kStateMachineTool,  CommandId::kCounterTool,
                                   CommandId::kSourceTool,        CommandId::kSinkTool,
                                   CommandId::kModuleTool,        CommandId::kArcTool,
                                   CommandId::kArcTool,           CommandId::kArcTool,
                                   CommandId::kMoveTool,          CommandId::kMoveTool,
                                   CommandId::kEraserTool};
        ws_.ChooseTool(tools[Pick(13)]);
        return "tool";
      }
      case 13:
        ws_.Copy(testing::ViewOf(ws_).viewport());
        return "copy";
      case 14:
        ws_.Paste(testing::ViewOf(ws_).viewport());
        return "paste";
      case 15:
        ws_.Undo();
        return "undo";
      case 16:
        ws_.GoUp();
        return "go up";
      case 17: {
        // As a zoom does: another scale, and the origin that keeps the centre.
        ViewState& view = testing::ViewOf(ws_);
        if (Pick(2) == 0)
          view.baseOrigin = {};  // and home again, so that the design stays in sight
        view.zoomLevel = Pick(4);
        view.scale = 1 << view.zoomLevel;
        view.origin = {view.baseOrigin.x - (view.scale - 1) * kWidth / 2,
                       view.baseOrigin.y - (view.scale - 1) * kHeight / 2};
        ui_.Changed(Change::kView);
        return "zoom";
      }
      case 18:
        ws_.EditPrimitive();
        return "edit";
      case 21:
        // The simulation now and then: its working copy answers the same events.
        switch (Pick(3)) {
          case 0:
            ws_.Check();
            return "check";
          case 1:
            ws_.Step();
            return "step";
          default:
            ws_.EndSimulation();
            return "stop";
        }
    }
    return "none";
  }

 private:
  void NewDesign() {
    ws_.EndSimulation();
    ws_.New();
    testing::LibraryOf(ws_).CreateModule("sub")->AddSource(testing::Named<SourceTransition>("a"));
  }
  int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }

  // Often the centre of an object in sight, so that the tools meet objects, and while an arc
  // is drawn often one it may end on; sometimes a point off the view.
  Point RandomPixel() {
    std::vector<Point> inSight;
    std::vector<Point> arcEnds;
    const Viewport viewport = testing::ViewOf(ws_).viewport();
    const InteractionState& state = testing::InteractionOf(ws_);
    const ObjectKind arcKind = module().KindOf(state.arcSource);
    for (const auto& [id, kind] : module().kinds) {
      const Point* position = module().PositionOf(id);
      const Point pixel = position ? viewport.ToScreen(*position) : Point{-1, -1};
      if (pixel.x < 0 || pixel.y < 0 || pixel.x >= kWidth || pixel.y >= kHeight)
        continue;
      inSight.push_back(pixel);
      if (state.arcInProgress && IsArcTargetAllowed(arcKind, kind))
        arcEnds.push_back(pixel);
    }
    if (!arcEnds.empty() && Pick(2) == 0)
      return arcEnds[Pick(static_cast<int>(arcEnds.size()))];
    if (!inSight.empty() && Pick(4) != 0)
      return inSight[Pick(static_cast<int>(inSight.size()))];
    return {Pick(kWidth + 40) - 20, Pick(kHeight + 40) - 20};
  }

  std::mt19937 rng_;
  bool editsOnly_;
  RandomUi ui_{rng_};
  testing::RecordingLog log_;
  Workspace ws_{ui_};
  Frame frame_;
  int paintedAt_ = -1;
};

TEST(RandomizedInteractionTest, InvariantsHoldAfterEveryEventAndNothingThrows) {
  constexpr int kEventsPerSeed = 20'000;
  for (unsigned seed : {11u, 12u, 13u, 14u, 15u}) {
    RandomSession session(seed);
    for (int event = 0; event < kEventsPerSeed; ++event) {
      const char* name = "?";
      try {
        name = session.Event();
      } catch (const std::exception& e) {
        FAIL() << "seed " << seed << " event " << event << " threw " << e.what();
      }
      const Module& m = session.module();
      ASSERT_TRUE(testing::ModuleInvariantsHold(m))
          << "seed " << seed << " event " << event << " " << name;
      ASSERT_TRUE(testing::ArcsJoinExistingPrimitives(m))
          << "seed " << seed << " event " << event << " " << name;
    }
  }
}

// Every edit, by whichever event, is recorded: whenever no drag is under way, a module whose
// written text changed has a new revision. Undoing every recorded edit of a stretch gives back
// the text it started with, byte for byte, and redoing them all the text it ended with.
TEST(RandomizedInteractionTest, UndoAndRedoWalkEveryEditBackAndForthByteForByte) {
  for (unsigned seed : {21u, 22u, 23u}) {
    RandomSession session(seed, true);
    Workspace& ws = session.workspace();
    for (int stretch = 0; stretch < 60; ++stretch) {
      Module* shown = &session.module();
      shown->ResetHistory();
      const std::string start = WriteModule(*shown);
      std::string text = start;
      std::uint64_t revision = shown->revision();
      bool sameModule = true;
      // The history keeps ten edits, and one event may record two: the end of a drag and the
      // command that ended it.
      for (int event = 0; event < 200 && shown->UndoDepth() < 9; ++event) {
        const char* name = session.Event();
        if (&session.module() != shown) {
          sameModule = false;
          break;
        }
        if (testing::InteractionOf(ws).dragging)
          continue;
        const std::string now = WriteModule(*shown);
        ASSERT_TRUE(now == text || shown->revision() != revision)
            << "seed " << seed << " stretch " << stretch << " event " << event << " " << name
            << " changed the design without recording it:\n"
            << text << "\n---\n"
            << now;
        text = now;
        revision = shown->revision();
      }
      if (!sameModule || testing::InteractionOf(ws).dragging)
        continue;
      const std::string end = WriteModule(*shown);
      while (shown->CanUndo())
        ws.Undo();
      ASSERT_EQ(WriteModule(*shown), start) << "seed " << seed << " stretch " << stretch;
      while (shown->CanRedo())
        ws.Redo();
      ASSERT_EQ(WriteModule(*shown), end) << "seed " << seed << " stretch " << stretch;
    }
  }
}

}  // namespace
}  // namespace pelkor
