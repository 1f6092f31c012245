// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace pelkor {
namespace {

using testing::AddCounter;
using testing::AddInstance;
using testing::AddMachine;
using testing::AddPort;
using testing::AddRegister;
using testing::AddSink;
using testing::AddSource;
using testing::Cells;
using testing::Connect;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class CheckTest : public testing::SimTest {
 protected:
  std::string Queue(int sourceId) {
    std::string text;
    for (const std::uint8_t value : Runtime().FindSource(sourceId)->RemainingQueue()) {
      text += static_cast<char>('0' + value);
    }
    return text;
  }
};

TEST_F(CheckTest, RegisterCellsEndWithTheContentsAtTheExit) {
  const int free = AddRegister(Top(), "01\r\n10");
  const int exact = AddRegister(Top(), "0110", 5);
  const int roomy = AddRegister(Top(), "0110", 7);
  const int blank = AddRegister(Top());
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  EXPECT_EQ(Cells(RegisterOf(free)), "-0110");
  EXPECT_EQ(Cells(RegisterOf(exact)), "-0110");
  EXPECT_EQ(Cells(RegisterOf(roomy)), "---0110");
  EXPECT_EQ(Cells(RegisterOf(blank)), "-");
  EXPECT_THAT(log.lines, IsEmpty());
}

TEST_F(CheckTest, FixedSizeThatLeavesNoEmptyCellFailsTheNode) {
  for (const int size : {4, 0, -3, 1 << 30}) {
    SCOPED_TRACE(size);
    library.Reset();
    log.lines.clear();
    AddRegister(Top(), "1");
    AddRegister(Top(), "0110", size);
    EXPECT_EQ(CheckAll().failingNode, &Root());
    EXPECT_THAT(log.lines, ElementsAre("untitleのシフトレジスタ2にエラー"));
  }
}

TEST_F(CheckTest, SourceQueuesReadHexadecimalAndFromTheEnd) {
  const int hex = AddSource(Top(), "A5", "", testing::kHexDisplay);
  const int hexFromEnd = AddSource(Top(), "C", "", testing::kHexDisplay | testing::kFromEnd);
  const int plain = AddSource(Top(), "0x1");
  const int lines = AddSource(Top(), "001\r\n01", "", testing::kFromEnd);
  const int hexLines = AddSource(Top(), "1\r\nf", "", testing::kHexDisplay | testing::kFromEnd);
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  EXPECT_EQ(Queue(hex), "10100101");
  EXPECT_EQ(Queue(hexFromEnd), "0011");
  EXPECT_EQ(Queue(plain), "01");
  EXPECT_EQ(Queue(lines), "10010");
  EXPECT_EQ(Queue(hexLines), "10001111");
}

TEST_F(CheckTest, CounterBindsAnUnnamedArcOnlyToItsSingleInput) {
  const int in = AddRegister(Top());
  const int out = AddRegister(Top());
  const int counter = AddCounter(Top(), "x = a;", 3);
  Connect(Top(), in, counter);
  Connect(Top(), counter, out);
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  const CounterRuntime& compiled = *Runtime().FindCounter(counter);
  EXPECT_THAT(compiled.registers.inputs, ElementsAre(&RegisterOf(in)));
  EXPECT_THAT(compiled.registers.outputs, ElementsAre(&RegisterOf(out)));
  EXPECT_EQ(compiled.remaining, 3);
  EXPECT_FALSE(compiled.noInputMode);
}

TEST_F(CheckTest, CounterWithTwoInputsRefusesAnUnnamedArcSilently) {
  const int a = AddRegister(Top());
  const int b = AddRegister(Top());
  const int counter = AddCounter(Top(), "x = a & b;", 1);
  Connect(Top(), a, counter);
  Connect(Top(), b, counter, "b");
  EXPECT_EQ(CheckAll().failingNode, &Root());
  EXPECT_THAT(log.lines, IsEmpty());
}

TEST_F(CheckTest, CounterWithSeveralOutputsFailsSilently) {
  AddCounter(Top(), "x = a; y = a;", 1);
  EXPECT_EQ(CheckAll().failingNode, &Root());
  EXPECT_THAT(log.lines, IsEmpty());
}

TEST_F(CheckTest, MachineBindsItsOnlyUnnamedInputInEveryState) {
  const int in = AddRegister(Top());
  const int machine = AddMachine(Top(), {{1, "", "go = a;"}, {2, "", "back = a;"}},
                                 {{1, 2, "go"}, {2, 1, "back"}}, 1);
  Connect(Top(), in, machine);
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  const StateMachineRuntime& compiled = *Runtime().FindMachine(machine);
  ASSERT_EQ(compiled.states.size(), 2u);
  for (const StateRuntime& state : compiled.states) {
    EXPECT_THAT(state.selectionRegisters.inputs, ElementsAre(&RegisterOf(in)));
    EXPECT_THAT(state.consumeSet, ElementsAre(&RegisterOf(in)));
  }
  EXPECT_EQ(compiled.currentNumber, 1);
  EXPECT_EQ(compiled.states[0].arcs[0].number, 2);
}

TEST_F(CheckTest, MachineArcFailuresWriteTheirMessageBeforeTheMachines) {
  struct Case {
    std::vector<std::string> inputNames;
    std::vector<std::string> outputNames;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {{"a", "a"}, {}, "入力アーク本数と入力アークの名前数が等しくない"},
      {{"a", ""}, {}, "アークの名前が入力されていません"},
      {{"a"}, {}, "入力アーク本数と入力アークの名前数が等しくありません"},
      {{"a", "b"}, {"x", "x"}, "出力アーク本数と出力アークの名前数が等しくない"},
      {{"a", "b"}, {"x"}, "出力アーク本数と出力アークの名前数が等しくない"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    library.Reset();
    log.lines.clear();
    const int machine = AddMachine(Top(), {{1, "x = a; y = b;", ""}}, {}, 1);
    for (const std::string& name : c.inputNames)
      Connect(Top(), AddRegister(Top()), machine, name);
    for (const std::string& name : c.outputNames)
      Connect(Top(), machine, AddRegister(Top()), name);
    EXPECT_EQ(CheckAll().failingNode, &Root());
    EXPECT_THAT(log.lines, ElementsAre(c.expected,
                                       fmt::sprintf("untitleのステートマシン%dにエラー", machine)));
  }
}

TEST_F(CheckTest, MachineWithoutMainStateOrInputFails) {
  const int noMain = AddMachine(Top(), {{1, "", "go = a;"}}, {}, 0);
  Connect(Top(), AddRegister(Top()), noMain);
  EXPECT_EQ(CheckAll().failingNode, &Root());
  EXPECT_THAT(log.lines, ElementsAre(fmt::sprintf("untitleのステートマシン%dにエラー", noMain)));

  library.Reset();
  log.lines.clear();
  const int in = AddRegister(Top());
  const int noInput = AddMachine(Top(), {{1, "", "go = a;"}, {2, "", ""}}, {{1, 2, "go"}}, 1);
  Connect(Top(), in, noInput);
  EXPECT_EQ(CheckAll().failingNode, &Root());
  EXPECT_THAT(log.lines, ElementsAre(fmt::sprintf("untitleのステートマシン%dにエラー", noInput)));
}

TEST_F(CheckTest, StateArcToAMissingStateFailsTheMachine) {
  const int machine = AddMachine(Top(), {{1, "", "go = a;"}}, {{1, 9, "go"}}, 1);
  Connect(Top(), AddRegister(Top()), machine);
  EXPECT_EQ(CheckAll().failingNode, &Root());
  EXPECT_THAT(log.lines, ElementsAre(fmt::sprintf("untitleのステートマシン%dにエラー", machine)));
}

TEST_F(CheckTest, ExpressionNumbersRunOnFromTheFirstTextIntoTheSecond) {
  std::string longExpression = "go = a";
  for (int i = 0; i < 40; ++i)
    longExpression += " & a";
  const int machine = AddMachine(Top(), {{1, "x = a; y = a;", longExpression + ";"}}, {}, 1);
  EXPECT_EQ(CheckAll().failingNode, &Root());
  EXPECT_THAT(log.lines, ElementsAre("3番目の式がバッファサイズ（100）をオーバーしました。",
                                     fmt::sprintf("untitleのステートマシン%dにエラー", machine)));
}

// The instanced module feeds two registers from sources "a" and "b" and empties one into
// sink "s".
class InstanceCheckTest : public CheckTest {
 protected:
  void SetUp() override {
    Module& half = Define("half");
    innerA = AddRegister(half);
    Connect(half, AddSource(half, "", "a"), innerA);
    innerB = AddRegister(half);
    Connect(half, AddSource(half, "", "b"), innerB);
    innerS = AddRegister(half);
    Connect(half, innerS, AddSink(half, "s"));
  }
  int innerA = 0;
  int innerB = 0;
  int innerS = 0;
};

TEST_F(InstanceCheckTest, NamedArcsAreWiredToTheRegistersOfTheInstancesPorts) {
  const int a = AddRegister(Top());
  const int b = AddRegister(Top());
  const int s = AddRegister(Top());
  const int instance = AddInstance(Top(), "half");
  Connect(Top(), b, instance, "b");
  Connect(Top(), a, instance, "a");
  Connect(Top(), instance, s, "s");
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  RuntimeInstance& child = Root().Child(instance);
  const ModuleInstanceRuntime& wired = *Runtime().FindInstance(instance);
  ASSERT_EQ(wired.inputs.size(), 2u);
  EXPECT_EQ(wired.inputs[0].outer, &RegisterOf(b));
  EXPECT_EQ(wired.inputs[0].inner, &RegisterOf(innerB, &child));
  EXPECT_EQ(wired.inputs[1].outer, &RegisterOf(a));
  EXPECT_EQ(wired.inputs[1].inner, &RegisterOf(innerA, &child));
  ASSERT_EQ(wired.outputs.size(), 1u);
  EXPECT_EQ(wired.outputs[0].outer, &RegisterOf(s));
  EXPECT_EQ(wired.outputs[0].inner, &RegisterOf(innerS, &child));
  for (const SourceRuntime& source : Runtime(child).sources)
    EXPECT_TRUE(source.isPort);
  for (const SinkRuntime& sink : Runtime(child).sinks)
    EXPECT_TRUE(sink.isPort);
}

TEST_F(InstanceCheckTest, ArcNamedAfterNoSourceFailsWithItsName) {
  const int instance = AddInstance(Top(), "half");
  Connect(Top(), AddRegister(Top()), instance, "zz");
  EXPECT_EQ(CheckAll().failingNode, &Root());
  EXPECT_THAT(log.lines, ElementsAre("getmoduleinputshiftpointer end アークname=zz",
                                     "GetModuleInputShiftPointerにえらーがありそう"));
}

TEST_F(InstanceCheckTest, UnnamedOrDanglingInstanceArcsFail) {
  const int instance = AddInstance(Top(), "half");
  Connect(Top(), instance, AddRegister(Top()));
  EXPECT_EQ(CheckAll().failingNode, &Root());
  EXPECT_THAT(log.lines, ElementsAre("アークの名前が入力されていません",
                                     "アークの名前が入力されていませんtwo"));

  library.Reset();
  log.lines.clear();
  SetUp();
  const int other = AddInstance(Top(), "half");
  Connect(Top(), 99, other, "a");  // the arc's start names no object
  EXPECT_EQ(CheckAll().failingNode, &Root());
  EXPECT_THAT(log.lines, ElementsAre("シフトがないone"));
}

TEST_F(CheckTest, ScheduleListsChildrenBeforeTheirParentsRootLast) {
  Define("leaf");
  Module& mid = Define("mid");
  AddInstance(mid, "leaf");  // ID 1 in "mid"
  AddRegister(Top());
  ASSERT_EQ(AddInstance(Top(), "mid"), 2);
  AddRegister(Top());
  AddRegister(Top());
  ASSERT_EQ(AddInstance(Top(), "leaf"), 5);
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  RuntimeInstance& two = Root().Child(2);
  EXPECT_THAT(reference.schedule(), ElementsAre(&two.Child(1), &two, &Root().Child(5), &Root()));
}

TEST_F(CheckTest, SourcesAndSinksAtTheRootAreNoPortsAndMissingEndsAreHarmless) {
  const int r = AddRegister(Top());
  const int named = AddSource(Top(), "1", "a");
  Connect(Top(), named, r);
  const int dangling = AddSource(Top(), "1");
  Connect(Top(), dangling, 77);
  const int sink = AddSink(Top(), "s");
  Connect(Top(), r, sink);
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  EXPECT_FALSE(Runtime().FindSource(named)->isPort);
  EXPECT_EQ(Runtime().FindSource(named)->output, &RegisterOf(r));
  EXPECT_EQ(Runtime().FindSource(dangling)->output, nullptr);
  EXPECT_FALSE(Runtime().FindSink(sink)->isPort);
  EXPECT_EQ(StepOnce(), 1);
}

TEST_F(CheckTest, SourceWithTwoArcsStopsThePreparationOfLaterSources) {
  const int r = AddRegister(Top());
  const int forked = AddSource(Top(), "1");
  Connect(Top(), forked, r);
  Connect(Top(), forked, AddRegister(Top()));
  const int later = AddSource(Top(), "1");
  Connect(Top(), later, r);
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  EXPECT_EQ(Runtime().FindSource(forked)->output, nullptr);
  EXPECT_EQ(Runtime().FindSource(later)->output, nullptr);
  EXPECT_TRUE(Runtime().FindSource(later)->RemainingQueue().empty());
}

TEST_F(CheckTest, ModuleMissingFromTheLibraryWritesEraAndChecksTheRest) {
  AddInstance(Top(), "nowhere");
  Root().children[1] = library.NewNode("nowhere", &Root(), 1);
  const CheckOutcome outcome = CheckAll();
  EXPECT_TRUE(outcome.prepareFailed);
  EXPECT_EQ(outcome.failingNode, nullptr);
  EXPECT_THAT(log.lines, ElementsAre("era-"));
  EXPECT_THAT(reference.schedule(), ElementsAre(&Root()));
}

TEST_F(CheckTest, DynamicInstanceNeedsNamedArcsAndIsNotPreparedYet) {
  Module& cell = Define("cell");
  AddPort(cell, "new");
  const int instance = AddInstance(Top(), "cell");
  const int newRegister = AddRegister(Top());
  Connect(Top(), newRegister, instance, "new");
  ASSERT_EQ(CheckAll().failingNode, nullptr);
  EXPECT_FALSE(reference.IsPrepared(Root().Child(instance)));
  EXPECT_THAT(reference.schedule(), ElementsAre(&Root()));
  const ModuleInstanceRuntime& dynamic = *Runtime().FindInstance(instance);
  EXPECT_EQ(dynamic.newArcRegister, &RegisterOf(newRegister));
  ASSERT_EQ(dynamic.inputs.size(), 1u);
  EXPECT_EQ(dynamic.inputs[0].inner, nullptr);

  reference.End();
  Connect(Top(), AddRegister(Top()), instance);
  EXPECT_EQ(CheckAll().failingNode, &Root());
  EXPECT_THAT(log.lines,
              ElementsAre("アークの名前が入力されていません", "モジュールコンパイルエラー"));
}

}  // namespace
}  // namespace pelkor
