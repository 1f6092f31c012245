// SPDX-License-Identifier: GPL-3.0-or-later
// Long seeded sequences of editing operations, with the model's invariants and the instance
// tree checked after every step, undo included.
#include <optional>
#include <random>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "../support/model_invariants.h"
#include "../support/recording_log.h"
#include "../support/records.h"
#include "../support/scripted_ui.h"
#include "support/workspace_probe.h"
#include "workspace/workspace.h"

namespace pelkor {
namespace {

using testing::ArcsJoinExistingPrimitives;
using testing::At;
using testing::ModuleInvariantsHold;

class RandomEditor {
 public:
  explicit RandomEditor(unsigned seed) : rng_(seed) {
    ws_.AttachLog(&log_);
    testing::LibraryOf(ws_).CreateModule("sub");
  }

  Module& module() { return testing::LibraryOf(ws_).currentModule(); }
  Workspace& workspace() { return ws_; }

  // Runs one randomly chosen operation; returns its name for failure messages.
  const char* Step() {
    switch (Pick(13)) {
      case 0:
        PlacePrimitive();
        return "place";
      case 1:
        DrawArc();
        return "arc";
      case 2: {
        module().selection.Clear(module());
        const Point corner{Pick(800), Pick(600)};
        const Rect rect{corner.x, corner.y, corner.x + Pick(800), corner.y + Pick(600)};
        SelectInRectangle(module(), RandomView(), rect);
        return "select rectangle";
      }
      case 3:
        if (auto id = RandomPrimitive()) {
          module().selection.Clear(module());
          module().selection.Add(module(), *id);
        }
        return "select one";
      case 4:
        ws_.DeleteSelection();
        return "delete";
      case 5:
        ws_.AlignSelection(Pick(101));
        return "align";
      case 6:
        module().selection.MoveSelected(module(), {Pick(201) - 100, Pick(201) - 100});
        return "move";
      case 7:
        testing::InteractionOf(ws_).anchor = {Pick(800), Pick(600)};
        ws_.Copy(RandomView());
        return "copy";
      case 8:
        ws_.Cut(RandomView());
        return "cut";
      case 9:
        testing::InteractionOf(ws_).lastPressPoint = {Pick(800), Pick(600)};
        ws_.Paste(RandomView());
        return "paste";
      case 10:
        ws_.Redo();
        return "redo";
      default:
        ws_.Undo();
        return "undo";
    }
  }

  // The root has exactly one node for each named instance of the module shown.
  ::testing::AssertionResult TreeInStep() {
    std::set<int> named, nodes;
    for (const auto& [id, instance] : module().instances) {
      if (!instance.moduleName.empty())
        named.insert(id);
    }
    for (const auto& [id, node] : testing::LibraryOf(ws_).rootInstance().children)
      nodes.insert(id);
    if (named == nodes)
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << named.size() << " named instances but " << nodes.size() << " nodes";
  }

 private:
  int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  Point RandomPoint() { return {Pick(4001) - 2000, Pick(4001) - 2000}; }
  Viewport RandomView() { return {RandomPoint(), 1 << Pick(6)}; }

  // Any existing primitive, or only registers or only other kinds.
  std::optional<int> RandomPrimitive(std::optional<bool> isRegister = std::nullopt) {
    std::vector<int> ids;
    for (const auto& [id, kind] : module().kinds) {
      if (module().PositionOf(id) == nullptr)
        continue;
      if (!isRegister || *isRegister == (kind == kShiftRegisterKind))
        ids.push_back(id);
    }
    if (ids.empty())
      return std::nullopt;
    return ids[Pick(static_cast<int>(ids.size()))];
  }

  void PlacePrimitive() {
    Module& m = module();
    const Point p = RandomPoint();
    switch (Pick(6)) {
      case 0:
        m.AddShiftRegister(At<ShiftRegister>(p));
        break;
      case 1:
        m.AddStateMachine(At<StateMachine>(p));
        break;
      case 2:
        m.AddCounter(At<Counter>(p));
        break;
      case 3:
        m.AddSource(At<SourceTransition>(p));
        break;
      case 4:
        m.AddSink(At<SinkTransition>(p));
        break;
      default: {
        ModuleInstance instance = At<ModuleInstance>(p);
        instance.moduleName = Pick(4) == 0 ? "" : "sub";
        const int id = m.AddInstance(instance);
        if (!instance.moduleName.empty()) {
          testing::LibraryOf(ws_).AddInstanceEverywhere(instance.moduleName, id);
        }
        break;
      }
    }
    m.RecordEdit();
  }

  // An arc between a register and another kind, in a direction the arc tool allows.
  void DrawArc() {
    const auto reg = RandomPrimitive(true);
    const auto other = RandomPrimitive(false);
    if (!reg || !other)
      return;
    const ObjectKind kind = module().KindOf(*other);
    const bool intoRegister = kind == kSourceKind || (kind != kSinkKind && Pick(2) == 0);
    std::vector<Point> bends(Pick(3));
    for (Point& bend : bends)
      bend = RandomPoint();
    if (intoRegister) {
      module().AddArc(*other, *reg, bends, "a");
    } else {
      module().AddArc(*reg, *other, bends, "b");
    }
    module().RecordEdit();
  }

  std::mt19937 rng_;
  testing::ScriptedUi ui_;
  testing::RecordingLog log_;
  Workspace ws_{ui_};
};

TEST(RandomizedEditTest, InvariantsHoldAfterEveryOperation) {
  for (unsigned seed : {1u, 2u, 3u, 4u}) {
    RandomEditor editor(seed);
    for (int step = 0; step < 600; ++step) {
      const char* operation = editor.Step();
      const Module& m = editor.module();
      ASSERT_TRUE(ModuleInvariantsHold(m))
          << "seed " << seed << " step " << step << " " << operation;
      ASSERT_TRUE(ArcsJoinExistingPrimitives(m))
          << "seed " << seed << " step " << step << " " << operation;
      ASSERT_TRUE(editor.TreeInStep()) << "seed " << seed << " step " << step << " " << operation;
      ASSERT_LE(m.UndoDepth(), 10u);
    }
  }
}

}  // namespace
}  // namespace pelkor
