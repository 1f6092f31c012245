// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/state_machine_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <deque>
#include <string>
#include <vector>

#include "model/model_invariants.h"
#include "model/module.h"
#include "view/arrow_geometry.h"

namespace pelkor {
namespace {

// Answers the editor's dialogs from a script and records what they were shown.
class ScriptedMachineUi : public StateMachineEditorUi {
 public:
  struct ArcDialog {
    std::vector<std::string> names;
    std::string preset;
  };

  // The next scripted answer (nullopt: Cancel), or OK on the preset when none is left.
  std::optional<std::string> ChooseArcName(const std::vector<std::string>& names,
                                           const std::string& preset) override {
    arcDialogs.push_back({names, preset});
    if (arcAnswers.empty())
      return preset;
    std::optional<std::string> answer = arcAnswers.front();
    arcAnswers.pop_front();
    return answer;
  }
  StateDialogValues EditState(const StateDialogValues& values) override {
    stateDialogs.push_back(values);
    if (stateAnswers.empty())
      return values;
    StateDialogValues answer = stateAnswers.front();
    stateAnswers.pop_front();
    return answer;
  }

  void Warn(const std::string& text) override { warnings.push_back(text); }

  std::deque<std::optional<std::string>> arcAnswers;
  std::deque<StateDialogValues> stateAnswers;
  std::vector<ArcDialog> arcDialogs;
  std::vector<StateDialogValues> stateDialogs;
  std::vector<std::string> warnings;
};

class StateMachineEditorTest : public ::testing::Test {
 protected:
  StateMachineEditorTest() { editor_.ResizeSurface(400, 300); }

  void PlaceStates(const std::vector<Point>& points) {
    editor_.ChooseTool(MachineTool::kState);
    for (const Point p : points)
      editor_.Press(p);
  }
  void DrawArc(Point from, const std::vector<Point>& bends, Point to) {
    editor_.ChooseTool(MachineTool::kArc);
    editor_.Press(from);
    for (const Point bend : bends)
      editor_.Press(bend);
    editor_.Press(to);
  }
  // Gives a state its texts through the state dialog, as a user confirming it.
  void SetTexts(Point at, const std::string& first, const std::string& second, bool isMain) {
    ui_.stateAnswers.push_back({first, second, isMain});
    editor_.DoubleClick(at);
  }
  StateMachine Stored() const {
    StateMachine machine = original_;
    editor_.Store(machine);
    return machine;
  }
  // The structural invariants of the machine as stored into a module.
  std::string Violation() const {
    Module module;
    module.AddStateMachine(Stored());
    return ModuleInvariantViolation(module);
  }
  int Count(SketchOp::Kind kind) const {
    return static_cast<int>(std::count_if(editor_.sketch().begin(), editor_.sketch().end(),
                                          [kind](const SketchOp& op) { return op.kind == kind; }));
  }
  bool HasText(const std::string& text, Point at) const {
    return std::any_of(editor_.sketch().begin(), editor_.sketch().end(), [&](const SketchOp& op) {
      return op.kind == SketchOp::Kind::kText && op.text == text && op.from == at;
    });
  }

  StateMachine original_;
  ScriptedMachineUi ui_;
  StateMachineEditor editor_{original_, ui_};
};

TEST_F(StateMachineEditorTest, ThreePressesMakeStatesOneTwoThreeDrawnWithTheirIds) {
  PlaceStates({{50, 50}, {150, 50}, {250, 200}});
  const StateMachine& m = editor_.machine();
  ASSERT_EQ(m.states.size(), 3u);
  EXPECT_EQ(m.states.at(1).position, (Point{50, 50}));
  EXPECT_EQ(m.states.at(2).position, (Point{150, 50}));
  EXPECT_EQ(m.states.at(3).position, (Point{250, 200}));
  EXPECT_EQ(m.nextStateId, 4);
  EXPECT_EQ(Count(SketchOp::Kind::kEllipse), 3);
  EXPECT_TRUE(HasText("3", {250, 200}));
  const SketchOp& circle =
      *std::find_if(editor_.sketch().begin(), editor_.sketch().end(),
                    [](const SketchOp& op) { return op.kind == SketchOp::Kind::kEllipse; });
  EXPECT_EQ(circle.from, (Point{25, 25}));
  EXPECT_EQ(circle.to, (Point{75, 75}));
  EXPECT_EQ(circle.colour, Rgb(0, 0, 255));
  EXPECT_EQ(editor_.hitMap().At({250, 200}), 3);
}

// A file may use the largest int as a state number: the state tool hands out the numbers below
// it, then warns instead of giving that one out twice.
TEST(StateMachineEditorNumbersTest, TheStateToolWarnsOnceNoFreshNumberIsLeft) {
  StateMachine machine;
  machine.states[INT_MAX].position = {300, 200};
  machine.nextStateId = INT_MAX - 1;
  ScriptedMachineUi ui;
  StateMachineEditor editor(machine, ui);
  editor.ResizeSurface(400, 300);
  editor.ChooseTool(MachineTool::kState);
  editor.Press({50, 50});
  editor.Press({150, 50});
  const StateMachine& m = editor.machine();
  ASSERT_EQ(m.states.size(), 2u);
  EXPECT_EQ(m.states.at(INT_MAX - 1).position, (Point{50, 50}));
  EXPECT_EQ(m.states.at(INT_MAX).position, (Point{300, 200}));
  EXPECT_EQ(ui.warnings, std::vector<std::string>{kNoStateIdLeft});
}

TEST_F(StateMachineEditorTest, StateToolCreatesOnlyOutsideEveryStatesSquare) {
  struct Case {
    Point press;
    bool creates;
  };
  // The square of half-side 25 around (100, 100) covers x and y from 75 to 124.
  for (const Case c : {Case{{75, 75}, false}, Case{{124, 124}, false}, Case{{100, 76}, false},
                       Case{{125, 100}, true}, Case{{100, 74}, true}}) {
    ScriptedMachineUi ui;
    StateMachineEditor editor(StateMachine{}, ui);
    editor.ResizeSurface(400, 300);
    editor.ChooseTool(MachineTool::kState);
    editor.Press({100, 100});
    editor.Press(c.press);
    EXPECT_EQ(editor.machine().states.size(), c.creates ? 2u : 1u) << c.press.x << "," << c.press.y;
  }
}

TEST_F(StateMachineEditorTest, PressesDoNothingWithoutToolOrOutsideTheSurface) {
  editor_.Press({50, 50});
  EXPECT_TRUE(editor_.machine().states.empty());
  editor_.ChooseTool(MachineTool::kState);
  for (const Point outside : {Point{-1, 10}, Point{400, 10}, Point{10, 300}})
    editor_.Press(outside);
  EXPECT_TRUE(editor_.machine().states.empty());
}

TEST_F(StateMachineEditorTest, ArcToItselfKeepsItsBendsAndIsIndexedBothWays) {
  PlaceStates({{100, 100}});
  DrawArc({100, 100}, {{200, 50}, {200, 150}}, {110, 110});
  const StateMachine& m = editor_.machine();
  ASSERT_EQ(m.stateArcs.size(), 1u);
  EXPECT_EQ(m.stateArcs.at(1), (StateArc{1, 1, {{200, 50}, {200, 150}}, ""}));
  EXPECT_FALSE(editor_.arcInProgress());
  EXPECT_TRUE(editor_.bends().empty());
  EXPECT_EQ(Violation(), "");
  EXPECT_TRUE(ui_.arcDialogs.empty());
}

TEST_F(StateMachineEditorTest, ArcPiecesEndInArrowheadsAndStopShortOfTheTarget) {
  PlaceStates({{50, 50}, {250, 50}});
  DrawArc({50, 50}, {{150, 150}}, {250, 50});
  const Point end = PointBefore({150, 150}, {250, 50}, 27);
  const Sketch& sketch = editor_.sketch();
  for (const auto& [p, t] : {std::pair<Point, Point>{{50, 50}, {150, 150}}, {{150, 150}, end}}) {
    const ArrowWings wings = ArrowWingsAt(p, t, 5);
    for (const auto& [from, to] :
         {std::pair{p, t}, std::pair{t, wings.first}, std::pair{t, wings.second}}) {
      EXPECT_NE(std::find_if(sketch.begin(), sketch.end(),
                             [&](const SketchOp& op) {
                               return op.kind == SketchOp::Kind::kLine && op.from == from &&
                                      op.to == to && op.colour == Rgb(50, 255, 125) &&
                                      op.penWidth == 2;
                             }),
                sketch.end());
    }
  }
  EXPECT_EQ(Count(SketchOp::Kind::kLine), 6);
}

TEST_F(StateMachineEditorTest, ArcNameDialogOpensOnlyForTwoOrMoreOutputNames) {
  PlaceStates({{50, 50}, {250, 50}, {150, 200}});
  SetTexts({50, 50}, "", "to2 = x; to3 = ~x;", true);
  SetTexts({250, 50}, "y = a;", "back = a | ~a;", false);

  ui_.arcAnswers = {"to3"};
  DrawArc({50, 50}, {}, {150, 200});
  ASSERT_EQ(ui_.arcDialogs.size(), 1u);
  EXPECT_EQ(ui_.arcDialogs[0].names, (std::vector<std::string>{"to2", "to3"}));
  EXPECT_EQ(ui_.arcDialogs[0].preset, "");
  EXPECT_EQ(editor_.machine().stateArcs.at(1).name, "to3");
  const Point end = PointBefore({50, 50}, {150, 200}, 27);
  EXPECT_TRUE(HasText("to3", {(50 + end.x) / 2, (50 + end.y) / 2}));

  // Drawing the same arc again asks again, preset with its name, and takes the new bends.
  ui_.arcAnswers = {"to2"};
  DrawArc({50, 50}, {{20, 250}}, {150, 200});
  ASSERT_EQ(ui_.arcDialogs.size(), 2u);
  EXPECT_EQ(ui_.arcDialogs[1].preset, "to3");
  EXPECT_EQ(editor_.machine().stateArcs.at(1), (StateArc{1, 3, {{20, 250}}, "to2"}));
  EXPECT_EQ(editor_.machine().stateArcs.size(), 1u);

  DrawArc({250, 50}, {}, {50, 50});  // one output name: no dialog, no name
  EXPECT_EQ(ui_.arcDialogs.size(), 2u);
  EXPECT_EQ(editor_.machine().stateArcs.at(2).name, "");

  // Cancel creates no arc and leaves an existing one as it was.
  ui_.arcAnswers = {std::nullopt, std::nullopt};
  DrawArc({50, 50}, {}, {250, 50});
  DrawArc({50, 50}, {{90, 90}}, {150, 200});
  EXPECT_EQ(editor_.machine().stateArcs.size(), 2u);
  EXPECT_EQ(editor_.machine().stateArcs.at(1), (StateArc{1, 3, {{20, 250}}, "to2"}));
}

TEST_F(StateMachineEditorTest, RubberBandFollowsThePointerAndStopsShortOverAState) {
  PlaceStates({{50, 50}, {250, 50}});
  editor_.ChooseTool(MachineTool::kArc);
  editor_.Press({50, 50});
  editor_.Press({150, 150});
  ASSERT_TRUE(editor_.arcInProgress());

  // The rubber band is drawn first: after the background, the piece to the bend, then the
  // piece to its end.
  const auto rubberEnd = [&] { return editor_.sketch().at(4).to; };
  editor_.Move({300, 200});
  EXPECT_EQ(rubberEnd(), (Point{300, 200}));
  editor_.Move({260, 60});
  EXPECT_EQ(rubberEnd(), PointBefore({150, 150}, {250, 50}, 27));
  editor_.Move({397, 200});  // inside the 3-pixel margin: ignored
  EXPECT_EQ(rubberEnd(), PointBefore({150, 150}, {250, 50}, 27));

  editor_.ChooseTool(MachineTool::kArc);  // choosing a tool drops the arc
  EXPECT_FALSE(editor_.arcInProgress());
  EXPECT_TRUE(editor_.bends().empty());
  EXPECT_EQ(Count(SketchOp::Kind::kLine), 6);
}

TEST_F(StateMachineEditorTest, ErasingTheMainStateRemovesItsArcsButLeavesMainState) {
  PlaceStates({{50, 50}, {250, 50}, {150, 200}});
  SetTexts({50, 50}, "", "", true);
  DrawArc({50, 50}, {}, {250, 50});
  DrawArc({250, 50}, {}, {50, 50});
  DrawArc({50, 50}, {}, {50, 60});
  DrawArc({250, 50}, {}, {150, 200});
  editor_.ChooseTool(MachineTool::kEraser);
  editor_.Press({40, 40});

  const StateMachine m = Stored();
  EXPECT_EQ(m.mainState, 1);
  EXPECT_FALSE(m.states.contains(1));
  ASSERT_EQ(m.stateArcs.size(), 1u);
  EXPECT_EQ(m.stateArcs.at(4), (StateArc{2, 3, {}, ""}));
  EXPECT_EQ(m.stateArcsOutOf, (std::multimap<int, int>{{2, 4}}));
  EXPECT_EQ(m.stateArcsInto, (std::multimap<int, int>{{3, 4}}));
  EXPECT_EQ(editor_.hitMap().At({50, 50}), 0);
  EXPECT_EQ(Violation(), "");
}

TEST_F(StateMachineEditorTest, StateDialogSetsTextsAndTheMainMark) {
  PlaceStates({{50, 50}, {250, 50}});
  SetTexts({50, 50}, "x = a;", "go = b;", true);
  EXPECT_EQ(ui_.stateDialogs.back(), (StateDialogValues{"", "", false}));
  const StateMachine& m = editor_.machine();
  EXPECT_EQ(m.mainState, 1);
  EXPECT_TRUE(m.states.at(1).isMain);
  EXPECT_EQ(m.states.at(1).arcNames, (std::map<int, std::string>{{1, "go"}}));

  editor_.DoubleClick({50, 50});  // Cancel: the dialog gives back what it showed
  EXPECT_EQ(ui_.stateDialogs.back(), (StateDialogValues{"x = a;", "go = b;", true}));
  EXPECT_EQ(m.mainState, 1);

  SetTexts({250, 50}, "", "", true);  // another state becomes the main one
  EXPECT_EQ(m.mainState, 2);
  EXPECT_FALSE(m.states.at(1).isMain);
  SetTexts({250, 50}, "", "", false);
  EXPECT_EQ(m.mainState, 0);
}

TEST(StateTextsErrorTest, GivesTheRegenerationMessageOfEitherText) {
  EXPECT_EQ(StateTextsError({"x = a;", "go = b;", false}), std::nullopt);
  EXPECT_EQ(StateTextsError({"x = a b;", "", false}), "正規化：セミコロンが無い");
  EXPECT_EQ(StateTextsError({"", "go = a; go = b;", false}), "出力変数が重複しています");
}

TEST_F(StateMachineEditorTest, OkMakesTheOnlyStateMainAndRebuildsTheNameSets) {
  PlaceStates({{50, 50}});
  SetTexts({50, 50}, "x = a;", "", false);
  editor_.Accept();
  const StateMachine m = Stored();
  EXPECT_EQ(m.mainState, 1);
  EXPECT_TRUE(m.states.at(1).isMain);
  EXPECT_EQ(m.inputNames, (std::set<std::string>{"a"}));
  EXPECT_EQ(m.outputNames, (std::set<std::string>{"x"}));
}

TEST_F(StateMachineEditorTest, OkDecidesTwoStepFormRemovingOnlySpaces) {
  PlaceStates({{50, 50}, {250, 50}});
  SetTexts({50, 50}, "", "to2 = a; to1 = ~a;", true);
  SetTexts({250, 50}, "x = b;", "back = a | ~a;", false);
  editor_.Accept();
  EXPECT_TRUE(Stored().twoStepMode);

  // A line break inside the condition is white space the design-file reader would drop.
  SetTexts({250, 50}, "x = b;", "back = a |\r\n~a;", false);
  editor_.Accept();
  EXPECT_FALSE(Stored().twoStepMode);
}

TEST_F(StateMachineEditorTest, CancelRestoresTheMachineExactly) {
  original_.states[1].position = {60, 60};
  original_.states[1].secondText.source = "go = a; stay = ~a;";
  original_.states[2].position = {200, 60};
  original_.Regenerate();
  original_.mainState = 1;
  original_.states[1].isMain = true;
  original_.stateArcs[1] = {1, 2, {}, "go"};
  original_.stateArcsOutOf.emplace(1, 1);
  original_.stateArcsInto.emplace(2, 1);
  original_.ResetNextIds();
  original_.position = {7, 8};
  original_.twoStepMode = true;

  ScriptedMachineUi ui;
  StateMachineEditor editor(original_, ui);
  editor.ResizeSurface(400, 300);
  editor.ChooseTool(MachineTool::kState);
  editor.Press({300, 200});
  ui.stateAnswers = {{"y = c;", "", false}};
  editor.DoubleClick({60, 60});
  editor.ChooseTool(MachineTool::kEraser);
  editor.Press({200, 60});
  editor.Accept();
  ASSERT_NE(editor.machine(), original_);

  editor.Cancel();
  StateMachine stored = original_;
  editor.Store(stored);
  EXPECT_EQ(stored, original_);
}

TEST(StateMachineDialogLayoutTest, SurfaceAndButtonsFollowTheClientSize) {
  EXPECT_EQ(LayOutStateMachineDialog(600, 400),
            (StateMachineDialogLayout{{10, 40, 500, 390}, {513, 40}, {513, 67}}));
  EXPECT_EQ(LayOutStateMachineDialog(100, 30).surface, (Rect{10, 40, 10, 40}));
}

}  // namespace
}  // namespace pelkor

namespace pelkor {
namespace {

// A double-click opens the state dialog and never starts or completes an arc: the surface holds
// back a first press that would complete one, and any other first press is taken back.
TEST_F(StateMachineEditorTest, ADoubleClickOpensTheStateAndNeverStartsOrCompletesAnArc) {
  PlaceStates({{50, 50}, {250, 50}});
  editor_.ChooseTool(MachineTool::kArc);
  EXPECT_FALSE(editor_.PressCompletesArc({50, 50}));
  editor_.Press({50, 50});  // the first press of a double-click on a state
  editor_.DoubleClick({50, 50});
  EXPECT_FALSE(editor_.arcInProgress());

  editor_.Press({50, 50});
  editor_.Press({150, 200});  // an arc from state 1 with a bend
  EXPECT_TRUE(editor_.PressCompletesArc({250, 50}));
  EXPECT_FALSE(editor_.PressCompletesArc({150, 150}));
  editor_.DoubleClick({250, 50}, true);  // its first press held back
  editor_.Press({100, 250});             // a press on empty space bends the arc ...
  editor_.DoubleClick({100, 250});       // ... unless it begins a double-click
  EXPECT_TRUE(editor_.arcInProgress());
  EXPECT_EQ(editor_.bends(), (std::vector<Point>{{150, 200}}));
  EXPECT_TRUE(editor_.machine().stateArcs.empty());
  EXPECT_EQ(ui_.stateDialogs.size(), 2u);

  editor_.Press({250, 50});  // a single press still ends the arc
  ASSERT_EQ(editor_.machine().stateArcs.size(), 1u);
  EXPECT_EQ(editor_.machine().stateArcs.at(1), (StateArc{1, 2, {{150, 200}}, ""}));
}

// A state arc is picked on its line, drawn in the highlight, deleted, and the deletion undone;
// every change of the machine is undone in turn.
TEST_F(StateMachineEditorTest, AStateArcIsSelectedDeletedAndUndone) {
  PlaceStates({{50, 50}, {250, 50}, {250, 250}});
  DrawArc({50, 50}, {}, {250, 50});
  DrawArc({250, 50}, {}, {250, 250});
  const StateMachine drawn = editor_.machine();

  editor_.Press({150, 52});  // near the line of arc 1, off every state
  EXPECT_EQ(editor_.selectedArc(), 1);
  const auto highlighted =
      std::count_if(editor_.sketch().begin(), editor_.sketch().end(), [](const SketchOp& op) {
        return op.kind == SketchOp::Kind::kLine && op.colour == Rgb(200, 50, 50);
      });
  EXPECT_EQ(highlighted, 3);  // the line and its two wings
  editor_.Press({150, 150});  // off every arc
  EXPECT_EQ(editor_.selectedArc(), 0);
  editor_.DeleteSelectedArc();
  EXPECT_EQ(editor_.machine(), drawn);

  editor_.Press({252, 150});
  EXPECT_EQ(editor_.selectedArc(), 2);
  editor_.DeleteSelectedArc();
  EXPECT_EQ(editor_.machine().stateArcs.size(), 1u);
  EXPECT_EQ(Violation(), "");
  EXPECT_TRUE(editor_.Undo());
  EXPECT_EQ(editor_.machine(), drawn);

  editor_.ChooseTool(MachineTool::kEraser);
  editor_.Press({150, 48});  // the eraser takes an arc off as well
  EXPECT_EQ(editor_.machine().stateArcs.size(), 1u);
  EXPECT_EQ(Violation(), "");

  int undone = 0;
  while (editor_.Undo())
    ++undone;
  EXPECT_EQ(undone, 6);  // the eraser, two arcs, three states
  EXPECT_EQ(editor_.machine(), original_);
}

}  // namespace
}  // namespace pelkor
